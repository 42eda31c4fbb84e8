#pragma once

#include <string>

#include "export/ExportTab.h"

namespace sedilo::cli {

// "signin,door,lookup" (any of them, in any order) as the boxes of
// "打印用表". Returns a usage problem, or "" when the list was understood.
std::string parsePrintSheetList(const std::string& text, exporting::PrintSheetChoice& choice);

} // namespace sedilo::cli
