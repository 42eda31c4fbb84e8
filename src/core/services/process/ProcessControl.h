#pragma once

#include <cstdint>
#include <string>

namespace sedilo {

// Process id (decimal digits) of a running process whose executable file name
// starts with `name` (case-sensitive), the last one listed winning; "" if none.
std::string FindProcessId(const std::string& name);

// Terminates process `pid`; non-zero on success, 0 on failure.
std::int32_t KillProcess(std::uint32_t pid);

} // namespace sedilo
