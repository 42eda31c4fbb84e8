#include "services/workbook/CellReference.h"

namespace sedilo::workbook {

bool parseCellReference(std::string_view reference, int& row, int& column)
{
    std::size_t pos = 0;
    long col = 0;
    while (pos < reference.size() && reference[pos] >= 'A' && reference[pos] <= 'Z' && pos < 3)
        col = col * 26 + (reference[pos++] - 'A' + 1);
    if (pos == 0 || pos == reference.size())
        return false;
    long number = 0;
    for (; pos < reference.size(); ++pos) {
        if (reference[pos] < '0' || reference[pos] > '9' || number > kMaxRows)
            return false;
        number = number * 10 + (reference[pos] - '0');
    }
    if (number < 1 || number > kMaxRows || col > kMaxColumns)
        return false;
    row = static_cast<int>(number);
    column = static_cast<int>(col);
    return true;
}

std::string cellName(int row, int column)
{
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

} // namespace sedilo::workbook
