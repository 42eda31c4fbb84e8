#pragma once

#include <string>

namespace sedilo::rooms {

// True when a regular file exists at the path, taken as it stands (untrimmed).
// A folder or an empty path is not a template.
bool templateFileExists(const std::string& path);

} // namespace sedilo::rooms
