#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "services/workbook/XlsxSheetIndex.h"

namespace sedilo::workbook {

// The sheet part's XML with the edited cells written in as inline strings.
// Every byte outside the edited <c> elements is passed on as it was; a changed
// cell keeps each attribute it had but its type. `edits` maps cellKey to text.
std::string spliceEditedCells(const std::string& xml, const SheetIndex& index,
                              const std::map<std::uint64_t, std::string>& edits);

} // namespace sedilo::workbook
