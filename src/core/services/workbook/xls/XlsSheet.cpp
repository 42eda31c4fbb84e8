#include "services/workbook/xls/XlsSheet.h"

#include <algorithm>

#include "services/workbook/CellText.h"
#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook::xls {

namespace {

std::string cellName(const CellKey& key)
{
    std::string letters;
    for (int column = key.second; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters + std::to_string(key.first);
}

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

char foldLatin(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Finds `what` in `text` from `from` on, Latin letters without regard to
// case. Byte-wise matching is safe in UTF-8: ASCII bytes never occur inside
// a multi-byte character.
std::size_t findFolded(const std::string& text, const std::string& what, std::size_t from)
{
    const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), what.begin(), what.end(),
                                [](char a, char b) { return foldLatin(a) == foldLatin(b); });
    return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
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
    throw WorkbookError(m_path, "cell " + cellName(key) + " holds the error value " + errorName(cell.code));
}

std::string XlsSheet::cellText(int row, int column) const
{
    const CellKey key{row, column};
    if (const auto edit = m_edits.find(key); edit != m_edits.end())
        return edit->second;
    const auto cell = m_book->cells.find(key);
    return cell == m_book->cells.end() ? std::string() : storedText(key, cell->second);
}

void XlsSheet::setCellText(int row, int column, const std::string& text)
{
    const CellKey key{row, column};
    const auto cell = m_book->cells.find(key);
    if (cell == m_book->cells.end())
        throw WorkbookError(m_path, "cell " + cellName(key)
                                        + " holds nothing; an .xls file can only be written in cells that exist");
    if (cell->second.formula)
        return;
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
    if (what.empty())
        return;
    for (const auto& [key, cell] : m_book->cells) {
        if (cell.formula || cell.kind == XlsCell::Kind::Error)
            continue;
        const auto edit = m_edits.find(key);
        const std::string& current = edit != m_edits.end() ? edit->second : cell.text;
        std::string text = cell.kind == XlsCell::Kind::Text || edit != m_edits.end() ? current : storedText(key, cell);
        std::size_t at = findFolded(text, what, 0);
        if (at == std::string::npos)
            continue;
        while (at != std::string::npos) {
            text.replace(at, what.size(), with);
            at = findFolded(text, what, at + with.size());
        }
        m_edits[key] = std::move(text);
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
