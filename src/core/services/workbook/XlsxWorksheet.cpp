#include "services/workbook/XlsxWorksheet.h"

#include <algorithm>

#include "services/workbook/CellReference.h"
#include "services/workbook/TextReplace.h"
#include "services/workbook/Utf8.h"
#include "services/workbook/XlsxSheetEditor.h"

namespace sedilo::workbook {

void XlsxWorksheet::checkCell(int row, int column) const
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw WorkbookError(CauseKind::Unknown, m_template->path, "there is no cell at row " + std::to_string(row) + ", column " +
                                                  std::to_string(column));
}

const std::string& XlsxWorksheet::templateText(const IndexedCell& cell) const
{
    if (cell.error)
        throw WorkbookError(CauseKind::ErrorCell, m_template->path, cell.row, cell.column,
                            "cell " + cellName(cell.row, cell.column) + " holds the error " + cell.text);
    return cell.text;
}

std::string XlsxWorksheet::cellText(int row, int column) const
{
    checkCell(row, column);
    if (const auto edit = m_edits.find(cellKey(row, column)); edit != m_edits.end())
        return edit->second;
    const IndexedCell* cell = m_template->index.find(row, column);
    return cell ? templateText(*cell) : std::string();
}

bool XlsxWorksheet::formulaLacksResult(int row, int column) const
{
    checkCell(row, column);
    if (m_edits.contains(cellKey(row, column)))
        return false;
    const IndexedCell* cell = m_template->index.find(row, column);
    return cell && cell->noResult;
}

void XlsxWorksheet::setCellText(int row, int column, const std::string& text)
{
    checkCell(row, column);
    m_edits[cellKey(row, column)] = validUtf8(text);
}

void XlsxWorksheet::computeBounds(int& lastRow, int& lastColumn) const
{
    if (m_edits.empty()) {
        lastRow = m_template->lastRow;
        lastColumn = m_template->lastColumn;
        return;
    }
    lastRow = 0;
    lastColumn = 0;
    const auto include = [&](int row, int column) {
        lastRow = std::max(lastRow, row);
        lastColumn = std::max(lastColumn, column);
    };
    for (const IndexedCell& cell : m_template->index.cells)
        if (cell.hasValue() && !m_edits.contains(cellKey(cell.row, cell.column)))
            include(cell.row, cell.column);
    for (const auto& [key, text] : m_edits)
        if (!text.empty())
            include(static_cast<int>(key >> 16), static_cast<int>(key & 0xFFFF));
}

int XlsxWorksheet::lastRow() const
{
    int row = 0;
    int column = 0;
    computeBounds(row, column);
    return row;
}

int XlsxWorksheet::lastColumn() const
{
    int row = 0;
    int column = 0;
    computeBounds(row, column);
    return column;
}

void XlsxWorksheet::replaceAll(const std::string& what, const std::string& with)
{
    if (what.empty())
        return;
    const std::string replacement = validUtf8(with);
    for (const IndexedCell& cell : m_template->index.cells) {
        if (cell.error || cell.text.empty())
            continue;
        const std::uint64_t key = cellKey(cell.row, cell.column);
        if (m_edits.contains(key) || m_template->index.find(cell.row, cell.column) != &cell)
            continue; // edited text is handled below; a duplicate element is not the cell
        if (auto replaced = replaceIgnoringAsciiCase(cell.text, what, replacement))
            m_edits.emplace(key, std::move(*replaced));
    }
    for (auto& [key, text] : m_edits) {
        if (auto replaced = replaceIgnoringAsciiCase(text, what, replacement))
            text = std::move(*replaced);
    }
}

void XlsxWorksheet::forEachCell(const std::function<void(int row, int column, const std::string& text)>& visit) const
{
    const auto& index = m_template->index;
    auto edit = m_edits.begin();
    auto visitEdit = [&] {
        if (!edit->second.empty())
            visit(static_cast<int>(edit->first >> 16), static_cast<int>(edit->first & 0xFFFF), edit->second);
        ++edit;
    };
    for (const std::uint32_t position : index.byKey) {
        const IndexedCell& cell = index.cells[position];
        const std::uint64_t key = cellKey(cell.row, cell.column);
        while (edit != m_edits.end() && edit->first < key)
            visitEdit();
        if (edit != m_edits.end() && edit->first == key) {
            visitEdit();
            continue;
        }
        if (!templateText(cell).empty())
            visit(cell.row, cell.column, cell.text);
    }
    while (edit != m_edits.end())
        visitEdit();
}

bool XlsxWorksheet::formulasReplaced() const
{
    for (const auto& [key, text] : m_edits) {
        const IndexedCell* cell = m_template->index.find(static_cast<int>(key >> 16), static_cast<int>(key & 0xFFFF));
        if (cell && cell->formula)
            return true;
    }
    return false;
}

std::string XlsxWorksheet::editedXml() const
{
    return spliceEditedCells(m_template->sheetXml, m_template->index, m_edits);
}

} // namespace sedilo::workbook
