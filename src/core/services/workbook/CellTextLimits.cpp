#include "services/workbook/CellTextLimits.h"

#include <string>

#include "services/workbook/CellReference.h"
#include "services/workbook/Utf8.h"
#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

namespace {

constexpr std::size_t kMaxCellCharacters = 32767; // UTF-16 units, as spreadsheets count

std::size_t utf16Length(std::string_view text)
{
    std::size_t length = 0;
    for (std::size_t pos = 0; pos < text.size();)
        length += nextCodePoint(text, pos) > 0xFFFF ? 2 : 1;
    return length;
}

} // namespace

void checkCellPlace(int row, int column)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw WorkbookError(CauseKind::Unknown, "new workbook", "there is no cell at row " + std::to_string(row) +
                                                                    ", column " + std::to_string(column));
}

void checkCellText(int row, int column, std::string_view text)
{
    checkCellPlace(row, column);
    // Made valid, a text has no more UTF-16 units than it has bytes now.
    if (text.size() > kMaxCellCharacters && utf16Length(validUtf8(text)) > kMaxCellCharacters)
        throw WorkbookError(CauseKind::TextTooLong, std::string(), row, column,
                            "the text for cell " + cellName(row, column) + " is longer than a cell can hold");
}

} // namespace sedilo::workbook
