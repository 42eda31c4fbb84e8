#pragma once

#include <string>

#include "basedata/ExamineeList.h"

namespace sedilo::basedata {

// Reads the examinees of worksheet 1 of the workbook at `path` as
// ExamineeSheetReader does. An .xlsx is streamed, so that a list of any
// length costs only its examinees; other formats, and sheets whose cells are
// out of order, are read through the workbook engine. Throws on a cell that
// cannot be read, naming its row and column, and on an empty worksheet.
ExamineeList readExamineeList(const std::string& path);

} // namespace sedilo::basedata
