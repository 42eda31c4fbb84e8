#pragma once

#include <string>
#include <string_view>

#include "services/workbook/xls/XlsBook.h"

namespace sedilo::workbook::xls {

// Parses the bytes of an .xls file: the container, the globals of the BIFF8
// workbook stream and the cells of worksheet 1 (the first worksheet listed
// in the globals). Throws BiffError naming the cause for encrypted files,
// BIFF5 and older, streams that are no workbook and damaged records.
XlsBook readXlsBook(std::string fileBytes);

} // namespace sedilo::workbook::xls
