#pragma once

#include <string>

namespace sedilo::basedata {

// The examinees an import of the base-data workbook at `path` would write,
// read the same way and refused for the same faults (throws as the import does).
int CountExaminees(const std::string& path);

} // namespace sedilo::basedata
