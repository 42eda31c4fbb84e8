#pragma once

#include <string>

namespace sedilo {

// Names that become file names inside the output folder (room and unit names)
// must not leave it or fail later: empty, ".", "..", or holding "/", "\" or a
// control character. Returns the reason such a name is refused, or "" when it
// is safe.
std::string unsafeFileNameReason(const std::string& name);

} // namespace sedilo
