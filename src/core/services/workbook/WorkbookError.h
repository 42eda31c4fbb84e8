#pragma once

#include <stdexcept>
#include <string>

namespace sedilo::workbook {

// A workbook that cannot be read or written. what() names the file and the cause.
class WorkbookError : public std::runtime_error {
public:
    WorkbookError(std::string file, std::string cause)
        : std::runtime_error(file + ": " + cause), m_file(std::move(file)), m_cause(std::move(cause)) {}

    const std::string& file() const { return m_file; }
    const std::string& cause() const { return m_cause; }

private:
    std::string m_file;
    std::string m_cause;
};

} // namespace sedilo::workbook
