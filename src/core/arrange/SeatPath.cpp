#include "arrange/SeatPath.h"

#include <algorithm>

namespace sedilo::arrange {

namespace {

constexpr const char* kSeatWord = "姓名";

} // namespace

SeatPath SeatPath::trace(const workbook::Worksheet& sheet, int lastRow, int lastColumn,
                         rooms::FillDirection direction)
{
    SeatPath path;
    const int rowEnd = std::min(lastRow, kScanLimit);
    const int columnEnd = std::min(lastColumn, kScanLimit);
    const bool horizontal = direction == rooms::FillDirection::Horizontal;
    // A pass is a row (horizontal) or a column (vertical); its cells run over
    // the other dimension.
    const int passFirst = horizontal ? 2 : 1;
    const int passLast = horizontal ? rowEnd : columnEnd;
    const int cellFirst = horizontal ? 1 : 2;
    const int cellLast = horizontal ? columnEnd : rowEnd;

    bool forward = true;
    for (int pass = passFirst; pass <= passLast; ++pass) {
        bool seated = false;
        for (int step = 0; step <= cellLast - cellFirst; ++step) {
            const int cell = forward ? cellFirst + step : cellLast - step;
            const int row = horizontal ? pass : cell;
            const int column = horizontal ? cell : pass;
            std::string text;
            try {
                text = sheet.cellText(row, column);
            } catch (const workbook::WorkbookError& unreadable) {
                path.m_unreadable = unreadable;
                return path;
            }
            if (text.find(kSeatWord) == std::string::npos)
                continue;
            path.m_seats.push_back({row, column, std::move(text)});
            seated = true;
        }
        if (seated)
            forward = !forward;
    }
    return path;
}

std::string cellName(int row, int column)
{
    std::string letters;
    for (int rest = column; rest > 0; rest = (rest - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % 26));
    return letters + std::to_string(row);
}

} // namespace sedilo::arrange
