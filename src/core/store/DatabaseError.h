#pragma once

#include <stdexcept>
#include <string>

namespace sedilo::store {

// A database failure. what() names the database file and the cause.
class DatabaseError : public std::runtime_error {
public:
    DatabaseError(const std::string& file, const std::string& cause)
        : std::runtime_error(file + ": " + cause), m_cause(cause) {}
    const std::string& cause() const { return m_cause; }

private:
    std::string m_cause;
};

} // namespace sedilo::store
