#include "services/workbook/xls/XlsSheet.h"

#include <algorithm>

#include "services/workbook/CellReference.h"
#include "services/workbook/CellText.h"
#include "services/workbook/TextReplace.h"
#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook::xls {

namespace {

std::string errorName(std::uint8_t code)
{
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#GETTING_DATA";
    }
}

} // namespace

XlsSheet::XlsSheet(std::shared_ptr<const XlsBook> book, std::string path, std::map<CellKey, std::string> edits)
    : m_book(std::move(book)), m_path(std::move(path)), m_edits(std::move(edits))
{
}

std::string XlsSheet::storedText(const CellKey& key, const XlsCell& cell) const
{
    switch (cell.kind) {
    case XlsCell::Kind::Blank:
        return {};
    case XlsCell::Kind::Text:
        return cell.text;
    case XlsCell::Kind::Number:
        if (cell.xf < m_book->xfIsDate.size() && m_book->xfIsDate[cell.xf])
            return formatDateSerial(cell.number, m_book->date1904);
        return formatNumber(cell.number);
    case XlsCell::Kind::Boolean:
        return formatBoolean(cell.code != 0);
    case XlsCell::Kind::Error:
        break;
    }
    throw WorkbookError(CauseKind::ErrorCell, m_path, key.first, key.second,
                        "cell " + cellName(key.first, key.second) + " holds the error " + errorName(cell.code));
}

std::string XlsSheet::cellText(int row, int column) const
{
    const CellKey key{row, column};
    if (const auto edit = m_edits.find(key); edit != m_edits.end())
        return edit->second;
    const auto cell = m_book->cells.find(key);
    return cell == m_book->cells.end() ? std::string() : storedText(key, cell->second);
}

bool XlsSheet::formulaLacksResult(int row, int column) const
{
    const CellKey key{row, column};
    if (m_edits.contains(key))
        return false;
    const auto cell = m_book->cells.find(key);
    return cell != m_book->cells.end() && cell->second.noResult;
}

void XlsSheet::setCellText(int row, int column, const std::string& text)
{
    const CellKey key{row, column};
    const auto cell = m_book->cells.find(key);
    if (cell == m_book->cells.end())
        throw WorkbookError(CauseKind::Unknown, m_path, key.first, key.second, "cell " + cellName(key.first, key.second)
                                        + " holds nothing; an .xls file can only be written in cells that exist");
    m_edits[key] = text;
}

int XlsSheet::lastRow() const
{
    int row = m_book->lastRow;
    for (const auto& [key, text] : m_edits)
        row = std::max(row, key.first);
    return row;
}

int XlsSheet::lastColumn() const
{
    int column = m_book->lastColumn;
    for (const auto& [key, text] : m_edits)
        column = std::max(column, key.second);
    return column;
}

void XlsSheet::replaceAll(const std::string& what, const std::string& with)
{
    for (const auto& [key, cell] : m_book->cells) {
        const auto edit = m_edits.find(key);
        if (cell.kind == XlsCell::Kind::Error
            || (cell.kind == XlsCell::Kind::Blank && edit == m_edits.end()))
            continue;
        const std::string text = edit != m_edits.end() ? edit->second : storedText(key, cell);
        if (auto replaced = replaceIgnoringAsciiCase(text, what, with))
            m_edits[key] = std::move(*replaced);
    }
}

void XlsSheet::forEachCell(const std::function<void(int row, int column, const std::string& text)>& visit) const
{
    for (const auto& [key, cell] : m_book->cells) {
        const auto edit = m_edits.find(key);
        const std::string text = edit != m_edits.end() ? edit->second : storedText(key, cell);
        if (!text.empty())
            visit(key.first, key.second, text);
    }
}

} // namespace sedilo::workbook::xls
