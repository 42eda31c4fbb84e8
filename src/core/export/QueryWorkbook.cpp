#include "export/QueryWorkbook.h"

namespace sedilo::exporting {

QueryWorkbook::QueryWorkbook()
{
    writeRow(1, "姓名", "考号", "单位", "考室");
}

void QueryWorkbook::appendExaminee(const std::string& name, const std::string& number,
                                   const std::string& unit, const std::string& room)
{
    writeRow(++m_lastRow, name, number, unit, room);
}

std::string QueryWorkbook::saveAs(const std::string& pathWithoutExtension) const
{
    return m_book.saveAs(pathWithoutExtension);
}

void QueryWorkbook::writeRow(int row, const std::string& name, const std::string& number,
                             const std::string& unit, const std::string& room)
{
    m_book.setCellText(row, 1, name);
    m_book.setCellText(row, 2, number);
    m_book.setCellText(row, 3, unit);
    m_book.setCellText(row, 4, room);
}

} // namespace sedilo::exporting
