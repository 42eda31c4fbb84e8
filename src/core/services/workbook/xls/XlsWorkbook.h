#pragma once

#include <memory>
#include <string>

#include "services/workbook/Workbook.h"

namespace sedilo::workbook {

// Opens a legacy .xls workbook (BIFF8 in a compound file). Encrypted files,
// BIFF5 and older, and files that hold no workbook are refused with a
// WorkbookError naming the cause.
std::unique_ptr<Workbook> openXls(const std::string& path);

} // namespace sedilo::workbook
