#include "services/workbook/xls/XlsWorkbook.h"

namespace sedilo::workbook {

std::unique_ptr<Workbook> openXls(const std::string& path)
{
    throw WorkbookError(path, "legacy .xls workbooks are not supported yet");
}

} // namespace sedilo::workbook
