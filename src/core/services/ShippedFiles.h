#pragma once

#include <string>

namespace sedilo {

// Where the workbooks shipped with the program lie: beside the executable in
// the build tree, in ../share/sedilo/ relative to it when installed.
// Returns the first of the two that exists, else the path beside the
// executable (which then names the missing file in any message).
std::string shippedFile(const std::string& executableFolder, const std::string& name);

} // namespace sedilo
