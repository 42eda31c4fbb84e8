#pragma once

#include <memory>
#include <string>

#include "services/workbook/Workbook.h"

namespace sedilo::workbook {

// Opens an .xlsx workbook from its file's bytes; `path` names it in failures.
std::unique_ptr<Workbook> openXlsx(const std::string& path, std::shared_ptr<const std::string> bytes);

} // namespace sedilo::workbook
