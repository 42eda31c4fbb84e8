#pragma once

#include <string_view>

namespace sedilo::workbook {

// Throws WorkbookError when there is no cell at row, column (from 1).
void checkCellPlace(int row, int column);

// Throws WorkbookError when `text`, made valid UTF-8, cannot go into the cell
// at row, column: the place is off the sheet or the text is longer than a
// cell holds.
void checkCellText(int row, int column, std::string_view text);

} // namespace sedilo::workbook
