#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace sedilo::workbook {

// The texts of one row, left to right.
using RowTexts = std::span<const std::string_view>;

// Saves a new one-sheet workbook as `pathWithoutExtension` + ".xlsx"
// (atomically) and returns that path. Its rows are `rowCount` rows of up to
// `columnCount` texts, asked of `rowAt` in order as the file is written, so a long list goes from where
// it is held into the file without a copy. The texts are written as
// NewWorkbook writes them; check each with checkCellText while gathering
// them, for a text that does not fit fails here only as an unwritable file.
std::string saveTextRows(const std::string& pathWithoutExtension, std::size_t rowCount, std::size_t columnCount,
                         const std::function<RowTexts(std::size_t row)>& rowAt);

} // namespace sedilo::workbook
