#include "basedata/ExamineeSheetReader.h"

#include <stdexcept>

#include "services/failure/Failure.h"
#include "services/text/Trim.h"
#include "services/workbook/FormulaResult.h"
#include "services/workbook/Workbook.h"

namespace sedilo::basedata {

namespace {

} // namespace

ExamineeSheetReader::ExamineeSheetReader(const workbook::Worksheet& sheet, std::string file)
    : m_sheet(sheet), m_file(std::move(file)), m_lastRow(sheet.lastRow())
{
    if (m_lastRow <= 0)
        throw Failure({.kind = CauseKind::EmptySheet, .file = m_file, .detail = "worksheet 1 is empty"});
}

std::string ExamineeSheetReader::cell(int row, int column) const
{
    if (m_sheet.formulaLacksResult(row, column))
        throw workbook::formulaWithoutResult(m_file, row, column);
    try {
        return trimSpaces(m_sheet.cellText(row, column));
    } catch (...) {
        // The reader's own cause, told at the cell where it struck.
        Cause cause = CauseOf(std::current_exception());
        cause.row = row;
        cause.column = column;
        if (cause.file.empty())
            cause.file = m_file;
        throw Failure(std::move(cause));
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
