#include "arrange/RoomTemplate.h"

namespace sedilo::arrange {

RoomTemplate::RoomTemplate(const std::string& path, rooms::FillDirection direction)
    : m_workbook(workbook::Workbook::open(path)), m_seatPath(traceSeats(*m_workbook, direction))
{
}

SeatPath RoomTemplate::traceSeats(const workbook::Workbook& book, rooms::FillDirection direction)
{
    const workbook::Worksheet& sheet = book.firstSheet();
    const int lastRow = sheet.lastRow();
    const int lastColumn = sheet.lastColumn();
    if (lastRow == 0 || lastColumn == 0)
        throw workbook::WorkbookError(CauseKind::EmptySheet, book.path(), "the first worksheet holds no value");
    return SeatPath::trace(sheet, lastRow, lastColumn, direction);
}

} // namespace sedilo::arrange
