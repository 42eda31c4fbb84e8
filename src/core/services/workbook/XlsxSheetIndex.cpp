#include "services/workbook/XlsxSheetIndex.h"

#include <algorithm>
#include <pugixml.hpp>

#include "services/workbook/CellReference.h"
#include "services/workbook/FormulaResult.h"
#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxStrings.h"
#include "services/workbook/XlsxText.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/XmlSpan.h"

namespace sedilo::workbook {

namespace {

// As for .xls: far above any seat chart or examinee list.
constexpr std::size_t kMaxCells = 1'000'000;

class SheetIndexer {
public:
    SheetIndexer(const std::string& xml, const SheetContext& context, const std::string& file,
                 const std::string& partName)
        : m_xml(xml), m_context(context), m_file(file), m_partName(partName)
    {
    }

    SheetIndex run()
    {
        pugi::xml_document document;
        parseXmlPart(document, m_xml, m_file, m_partName);
        const pugi::xml_node sheetData = childNamed(document.document_element(), "sheetData");
        if (!sheetData)
            throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "the worksheet " + m_partName + " has no sheetData element");
        const std::size_t dataBegin = tagStart(sheetData);
        m_index.prefix = std::string(elementPrefix(m_xml, dataBegin));
        locateContentEnd(dataBegin, m_index.sheetDataContentEnd, m_index.sheetDataSelfClosing);

        int row = 0;
        for (pugi::xml_node rowNode : sheetData.children()) {
            if (rowNode.type() != pugi::node_element || localName(rowNode.name()) != "row")
                continue;
            row = rowNumber(rowNode, row);
            addRow(rowNode, row);
            int column = 0;
            for (pugi::xml_node cellNode : rowNode.children())
                if (cellNode.type() == pugi::node_element && localName(cellNode.name()) == "c")
                    column = addCell(cellNode, row, column);
        }
        sortKeys();
        return std::move(m_index);
    }

private:
    [[noreturn]] void fail(const std::string& cause) const
    {
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, cause + " (in " + m_partName + ")");
    }

    std::size_t tagStart(pugi::xml_node node) const
    {
        const std::ptrdiff_t offset = node.offset_debug();
        if (offset < 1 || static_cast<std::size_t>(offset) > m_xml.size() || m_xml[offset - 1] != '<')
            fail("cannot locate the element " + std::string(node.name()));
        return static_cast<std::size_t>(offset - 1);
    }

    // Where content would be added to the element at `begin`: before its end
    // tag, or at the "/>" of an empty element.
    void locateContentEnd(std::size_t begin, std::size_t& contentEnd, bool& selfClosing) const
    {
        const std::size_t end = elementEnd(m_xml, begin);
        if (end == std::string_view::npos)
            fail("an element has no end");
        selfClosing = m_xml[end - 2] == '/' && startTagEnd(m_xml, begin) == end;
        contentEnd = selfClosing ? end - 2 : m_xml.rfind('<', end - 1);
    }

    int rowNumber(pugi::xml_node rowNode, int previous) const
    {
        const pugi::xml_attribute r = rowNode.attribute("r");
        if (!r)
            return previous + 1;
        const long long number = r.as_llong(-1);
        if (number < 1 || number > kMaxRows)
            fail("a row has the invalid number \"" + std::string(r.value()) + "\"");
        return static_cast<int>(number);
    }

    void addRow(pugi::xml_node rowNode, int row)
    {
        IndexedRow indexed;
        indexed.row = row;
        indexed.begin = tagStart(rowNode);
        locateContentEnd(indexed.begin, indexed.contentEnd, indexed.selfClosing);
        if (rowNode.attribute("customFormat").as_bool())
            indexed.cellStyle = rowNode.attribute("s").value();
        m_index.rows.push_back(std::move(indexed));
    }

    int addCell(pugi::xml_node cellNode, int row, int previousColumn)
    {
        if (m_index.cells.size() >= kMaxCells)
            throw WorkbookError(CauseKind::WorkbookTooLarge, m_file, "the workbook is too large: worksheet 1 holds more than " +
                                            std::to_string(kMaxCells) + " cells");
        IndexedCell cell;
        cell.row = row;
        cell.column = previousColumn + 1;
        if (const pugi::xml_attribute r = cellNode.attribute("r")) {
            if (!parseCellReference(r.value(), cell.row, cell.column))
                fail("a cell has the invalid reference \"" + std::string(r.value()) + "\"");
        } else if (cell.column > kMaxColumns) {
            fail("row " + std::to_string(row) + " has more cells than a sheet has columns");
        }
        cell.begin = tagStart(cellNode);
        cell.end = elementEnd(m_xml, cell.begin);
        if (cell.end == std::string_view::npos)
            fail("the cell " + cellName(cell.row, cell.column) + " has no end");
        if (const pugi::xml_node formula = childNamed(cellNode, "f")) {
            cell.formula = true;
            cell.formulaBegin = tagStart(formula);
            cell.formulaEnd = elementEnd(m_xml, cell.formulaBegin);
            if (cell.formulaEnd == std::string_view::npos || cell.formulaEnd > cell.end)
                fail("the formula of the cell " + cellName(cell.row, cell.column) + " has no end");
            if (std::string_view(formula.attribute("t").value()) == "shared") {
                cell.sharedGroup = formula.attribute("si").as_llong(-1);
                cell.sharedMaster = static_cast<bool>(formula.attribute("ref"));
            }
        }
        readValue(cellNode, cell);
        m_index.cells.push_back(std::move(cell));
        return m_index.cells.back().column;
    }

    void readValue(pugi::xml_node cellNode, IndexedCell& cell) const
    {
        const pugi::xml_node valueNode = childNamed(cellNode, "v");
        const std::string value = valueNode.text().get();
        CellElement element;
        element.type = cellNode.attribute("t").value();
        if (cell.formula && !xlsxFormulaHasResult(element.type, valueNode ? value.c_str() : nullptr)) {
            cell.noResult = true;
            return;
        }
        element.row = cell.row;
        element.column = cell.column;
        element.value = valueNode ? &value : nullptr;
        element.style = cellNode.attribute("s").as_llong(0);
        std::string inlineStored;
        if (element.type == "inlineStr") {
            if (const pugi::xml_node item = childNamed(cellNode, "is")) {
                inlineStored = storedItemText(item);
                element.inlineStored = &inlineStored;
            }
        }
        cell.text = cellElementText(element, m_context, cell.error, m_file, m_partName);
    }

    void sortKeys()
    {
        auto& keys = m_index.byKey;
        keys.resize(m_index.cells.size());
        for (std::uint32_t i = 0; i < keys.size(); ++i)
            keys[i] = i;
        const auto& cells = m_index.cells;
        // Stable, so that of two elements claiming one cell the first one counts.
        std::stable_sort(keys.begin(), keys.end(), [&](std::uint32_t a, std::uint32_t b) {
            return cellKey(cells[a].row, cells[a].column) < cellKey(cells[b].row, cells[b].column);
        });
        keys.erase(std::unique(keys.begin(), keys.end(),
                               [&](std::uint32_t a, std::uint32_t b) {
                                   return cellKey(cells[a].row, cells[a].column) ==
                                          cellKey(cells[b].row, cells[b].column);
                               }),
                   keys.end());
    }

    const std::string& m_xml;
    const SheetContext& m_context;
    const std::string& m_file;
    const std::string& m_partName;
    SheetIndex m_index;
};

} // namespace

const IndexedCell* SheetIndex::find(int row, int column) const
{
    const std::uint64_t key = cellKey(row, column);
    const auto found = std::lower_bound(byKey.begin(), byKey.end(), key, [&](std::uint32_t index, std::uint64_t k) {
        return cellKey(cells[index].row, cells[index].column) < k;
    });
    if (found == byKey.end() || cellKey(cells[*found].row, cells[*found].column) != key)
        return nullptr;
    return &cells[*found];
}

const IndexedRow* SheetIndex::findRow(int row) const
{
    for (const IndexedRow& indexed : rows)
        if (indexed.row == row)
            return &indexed;
    return nullptr;
}

SheetIndex indexSheet(const std::string& xml, const SheetContext& context, const std::string& file,
                      const std::string& partName)
{
    return SheetIndexer(xml, context, file, partName).run();
}

} // namespace sedilo::workbook
