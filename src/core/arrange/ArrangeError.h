#pragma once

#include <stdexcept>
#include <string>

namespace sedilo::arrange {

// A room the arrangement refuses to write (unsafe name, template in the way).
class ArrangeError : public std::runtime_error {
public:
    explicit ArrangeError(const std::string& cause) : std::runtime_error(cause) {}
};

} // namespace sedilo::arrange
