#pragma once

#include <string>
#include <string_view>

namespace sedilo::workbook {

// The largest sheet a workbook may hold.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// "B12" to row 12, column 2; false for anything else (or beyond the sheet's limits).
bool parseCellReference(std::string_view reference, int& row, int& column);

// Row 12, column 2 to "B12".
std::string cellName(int row, int column);

} // namespace sedilo::workbook
