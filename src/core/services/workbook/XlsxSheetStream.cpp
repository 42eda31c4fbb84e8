#include "services/workbook/XlsxSheetStream.h"

#include <vector>

#include "services/workbook/CellReference.h"
#include "services/workbook/FormulaResult.h"
#include "services/workbook/XlsxCellValue.h"
#include "services/workbook/XlsxParts.h"
#include "services/workbook/XlsxSharedStrings.h"
#include "services/workbook/XlsxSheetIndex.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/XmlStream.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

namespace {

// The elements the document indexer reads, at the same places:
// worksheet / sheetData / row / c / (v | f | is / (t | r / t)).
class SheetParser final : public XmlStream {
public:
    SheetParser(const std::string& file, const std::string& partName, const SheetContext& context,
                SheetCellVisitor& visitor)
        : XmlStream(file, partName, Limits{.elements = 4 * XlsxSheetStream::kCellLimit}), m_file(file),
          m_partName(partName), m_context(context), m_visitor(visitor)
    {
    }

    bool stopped() const { return m_stopped; }
    bool sawSheetData() const { return m_sheetDataSeen; }

private:
    enum class Place { Outside, SheetData, Row, Cell, Value, InlineString, InlineRun, Ignored };

    void startElement(std::string_view name, const char** attributes, int depth) override
    {
        if (m_stopped)
            return;
        const std::string_view local = localName(name);
        switch (depth) {
        case 2:
            m_inSheetData = local == "sheetData" && !m_sheetDataSeen;
            m_sheetDataSeen = m_sheetDataSeen || m_inSheetData;
            break;
        case 3:
            m_inRow = m_inSheetData && local == "row";
            if (m_inRow)
                startRow(attributes);
            break;
        case 4:
            m_inCell = m_inRow && local == "c";
            if (m_inCell)
                startCell(attributes);
            break;
        case 5:
            if (!m_inCell)
                break;
            if (local == "f")
                m_formula = true;
            else if (local == "v" && !m_valueSeen)
                collect(m_valueSeen = m_inValue = true);
            else if (local == "is" && !m_inlineSeen)
                m_inlineSeen = m_inInline = true;
            break;
        case 6:
            if (!m_inInline)
                break;
            m_inRun = local == "r";
            m_runTextSeen = false;
            collect(m_inInlineText = local == "t");
            break;
        case 7:
            if (m_inRun && local == "t" && !m_runTextSeen)
                collect(m_inInlineText = m_runTextSeen = true);
            break;
        default:
            break;
        }
    }

    void endElement(std::string_view, int depth) override
    {
        if (m_stopped)
            return;
        switch (depth) {
        case 2:
            m_inSheetData = false;
            break;
        case 3:
            m_inRow = false;
            break;
        case 4:
            if (m_inCell)
                endCell();
            m_inCell = false;
            break;
        case 5:
            if (m_inValue)
                m_value = text();
            m_inValue = false;
            m_inInline = false;
            break;
        case 6:
        case 7:
            if (m_inInlineText)
                m_inlineStored += text();
            m_inInlineText = false;
            if (depth == 6)
                m_inRun = false;
            break;
        default:
            break;
        }
    }

    void collect(bool on)
    {
        text().clear();
        gatherText(on);
    }

    void startRow(const char** attributes)
    {
        const char* r = attribute(attributes, "r");
        if (!r) {
            ++m_row;
        } else {
            const long long number = leadingInteger(r);
            if (number < 1 || number > kMaxRows)
                fail("a row has the invalid number \"" + std::string(r) + "\"");
            m_row = static_cast<int>(number);
        }
        m_column = 0;
    }

    void startCell(const char** attributes)
    {
        if (++m_cells > XlsxSheetStream::kCellLimit)
            throw WorkbookError(m_file, "worksheet 1 holds more than " + std::to_string(XlsxSheetStream::kCellLimit) +
                                            " cells: too large to be read");
        m_cellRow = m_row;
        m_cellColumn = m_column + 1;
        if (const char* r = attribute(attributes, "r")) {
            if (!parseCellReference(r, m_cellRow, m_cellColumn))
                fail("a cell has the invalid reference \"" + std::string(r) + "\"");
        } else if (m_cellColumn > kMaxColumns) {
            fail("row " + std::to_string(m_row) + " has more cells than a sheet has columns");
        }
        const char* type = attribute(attributes, "t");
        m_type = type ? type : "";
        const char* style = attribute(attributes, "s");
        m_style = style ? leadingInteger(style) : 0;
        m_formula = m_valueSeen = m_inValue = m_inlineSeen = m_inInline = m_inRun = m_inInlineText = false;
        m_value.clear();
        m_inlineStored.clear();
    }

    void endCell()
    {
        m_column = m_cellColumn;
        const std::uint64_t key = cellKey(m_cellRow, m_cellColumn);
        if (m_cells > 1 && key <= m_lastKey)
            throw UnorderedSheet(m_file, "the cells of worksheet 1 are not in row order (at " +
                                             cellName(m_cellRow, m_cellColumn) + ")");
        m_lastKey = key;
        CellElement element;
        element.row = m_cellRow;
        element.column = m_cellColumn;
        element.type = m_type;
        element.value = m_valueSeen ? &m_value : nullptr;
        element.inlineStored = m_inlineSeen ? &m_inlineStored : nullptr;
        element.style = m_style;
        StreamedCell cell;
        cell.row = m_cellRow;
        cell.column = m_cellColumn;
        cell.formula = m_formula;
        cell.noResult = m_formula && !xlsxFormulaHasResult(m_type, m_valueSeen ? m_value.c_str() : nullptr);
        m_text = cell.noResult ? std::string() : cellElementText(element, m_context, cell.error, m_file, m_partName);
        cell.text = m_text;
        if (!m_visitor.visit(cell))
            m_stopped = true;
    }

    const std::string& m_file;
    const std::string& m_partName;
    const SheetContext& m_context;
    SheetCellVisitor& m_visitor;

    bool m_stopped = false;
    bool m_sheetDataSeen = false;
    bool m_inSheetData = false;
    bool m_inRow = false;
    bool m_inCell = false;
    int m_row = 0;
    int m_column = 0;
    std::size_t m_cells = 0;
    std::uint64_t m_lastKey = 0;

    int m_cellRow = 0;
    int m_cellColumn = 0;
    std::string m_type;
    long long m_style = 0;
    bool m_formula = false;
    bool m_valueSeen = false;
    bool m_inValue = false;
    bool m_inlineSeen = false;
    bool m_inInline = false;
    bool m_inRun = false;
    bool m_runTextSeen = false;
    bool m_inInlineText = false;
    std::string m_value;
    std::string m_inlineStored;
    std::string m_text;
};

// Ends the inflation early once the visitor has what it needs.
struct StreamStopped {};

} // namespace

void XlsxSheetStream::read(const std::string& path, std::shared_ptr<const std::string> bytes,
                           SheetCellVisitor& visitor)
{
    const ZipPackage package(path, std::move(bytes));
    const WorkbookParts parts = locateParts(package);
    const SharedStringTable strings = loadSharedStrings(package, parts.sharedStringsPart);
    const std::vector<bool> dates = readDateStyles(package, parts.stylesPart);
    const SheetContext context{strings, dates, parts.date1904};
    SheetParser parser(path, parts.sheetPartName, context, visitor);
    try {
        package.stream(parts.sheetPartName, kStreamedPartLimit, [&](const char* data, std::size_t size) {
            parser.feed(data, size);
            if (parser.stopped())
                throw StreamStopped{};
        });
        parser.finish();
    } catch (const StreamStopped&) {
        return;
    }
    if (!parser.sawSheetData())
        throw WorkbookError(path, "the worksheet " + parts.sheetPartName + " has no sheetData element");
}

} // namespace sedilo::workbook
