#include "basedata/ExamineeSheetReader.h"

#include <stdexcept>

#include "services/text/Trim.h"
#include "services/workbook/FormulaResult.h"
#include "services/workbook/Workbook.h"

namespace sedilo::basedata {

namespace {

std::string cellName(int row, int column)
{
    return "row " + std::to_string(row) + ", column " + std::string(1, static_cast<char>('A' + column - 1));
}

} // namespace

ExamineeSheetReader::ExamineeSheetReader(const workbook::Worksheet& sheet, std::string file)
    : m_sheet(sheet), m_file(std::move(file)), m_lastRow(sheet.lastRow())
{
    if (m_lastRow <= 0)
        throw std::runtime_error("worksheet 1 is empty");
}

std::string ExamineeSheetReader::cell(int row, int column) const
{
    if (m_sheet.formulaLacksResult(row, column))
        throw workbook::formulaWithoutResult(m_file, row, column);
    try {
        return trimSpaces(m_sheet.cellText(row, column));
    } catch (const std::exception& failure) {
        throw std::runtime_error(cellName(row, column) + ": " + failure.what());
    }
}

bool ExamineeSheetReader::next(Cells& cells)
{
    if (m_count >= m_lastRow)
        return false;
    const int row = m_count + 2;
    cells[0] = cell(row, 1);
    if (cells[0].empty())
        return false;
    cells[1] = cell(row, 2);
    if (cells[1].empty())
        return false;
    cells[2] = cell(row, 3);
    cells[3] = cell(row, 4);
    ++m_count;
    return true;
}

} // namespace sedilo::basedata
