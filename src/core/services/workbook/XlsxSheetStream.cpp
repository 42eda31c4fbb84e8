#include "services/workbook/XlsxSheetStream.h"

#include <thread>
#include <vector>

#include "services/text/TextArena.h"
#include "services/workbook/CellReference.h"
#include "services/workbook/FormulaResult.h"
#include "services/workbook/XlsxCellValue.h"
#include "services/workbook/XlsxParts.h"
#include "services/workbook/XlsxSharedStrings.h"
#include "services/workbook/XlsxSheetIndex.h"
#include "services/workbook/XmlBlocks.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/XmlStream.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

namespace {

// The cells of one block of rows, parsed on another thread; cell i's text
// is texts.at(i).
struct CellBlock {
    struct Cell {
        int row = 0;
        int column = 0;
        bool formula = false;
        bool error = false;
        bool noResult = false;
    };
    std::vector<Cell> cells;
    TextArena texts;
    int lastRow = 0;    // the number of its last row
    int lastColumn = 0; // the column of the last cell of that row
    std::size_t elements = 0;
};

// A block whose rows or cells lack their numbers: where they stand is known
// only in sheet order.
struct BlockNeedsSheetOrder {};

// The elements the document indexer reads, at the same places:
// worksheet / sheetData / row / c / (v | f | is / (t | r / t)).
class SheetParser final : public XmlStream {
public:
    SheetParser(const std::string& file, const std::string& partName, const SheetContext& context,
                SheetCellVisitor& visitor)
        : XmlStream(file, partName, Limits{.elements = 4 * XlsxSheetStream::kCellLimit}), m_file(file),
          m_partName(partName), m_context(context), m_visitor(&visitor)
    {
    }

    // Parses a block of rows cut out of the sheet data, inside a wrapper
    // element that stands for sheetData, into `block`.
    SheetParser(const std::string& file, const std::string& partName, const SheetContext& context, CellBlock& block)
        : XmlStream(file, partName, Limits{.depth = Limits{}.depth - 1, .elements = 4 * XlsxSheetStream::kCellLimit}),
          m_file(file), m_partName(partName), m_context(context), m_block(&block), m_depthOffset(1),
          m_sheetDataSeen(true), m_inSheetData(true)
    {
    }

    // The cells of a block parsed elsewhere, as if its rows had been parsed here.
    void replay(const CellBlock& block)
    {
        addElements(block.elements);
        for (std::size_t index = 0; index < block.cells.size() && !m_stopped; ++index) {
            const CellBlock::Cell& cell = block.cells[index];
            countCell();
            StreamedCell streamed;
            streamed.row = cell.row;
            streamed.column = cell.column;
            streamed.text = block.texts.at(index);
            streamed.formula = cell.formula;
            streamed.error = cell.error;
            streamed.noResult = cell.noResult;
            deliver(streamed);
        }
        if (m_stopped)
            return;
        m_row = block.lastRow;
        m_column = block.lastColumn;
        m_afterRow = true;
    }

    bool stopped() const { return m_stopped; }
    // Just after the end of a row of the sheet data, before anything else.
    bool afterRow() const { return m_afterRow; }
    bool sawSheetData() const { return m_sheetDataSeen; }

private:
    enum class Place { Outside, SheetData, Row, Cell, Value, InlineString, InlineRun, Ignored };

    void startElement(std::string_view name, const char** attributes, int depth) override
    {
        if (m_stopped)
            return;
        depth += m_depthOffset;
        if (m_block && depth == 2)
            return; // the wrapper
        m_afterRow = false;
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
        depth += m_depthOffset;
        if (m_block && depth == 2) {
            m_block->lastRow = m_row;
            m_block->lastColumn = m_column;
            return;
        }
        m_afterRow = false;
        switch (depth) {
        case 2:
            m_inSheetData = false;
            break;
        case 3:
            m_afterRow = m_inRow;
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
        if (!r && m_block)
            throw BlockNeedsSheetOrder{};
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
        countCell();
        m_cellRow = m_row;
        m_cellColumn = m_column + 1;
        if (const char* r = attribute(attributes, "r")) {
            if (!parseCellReference(r, m_cellRow, m_cellColumn))
                fail("a cell has the invalid reference \"" + std::string(r) + "\"");
        } else if (m_block) {
            throw BlockNeedsSheetOrder{};
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

    void countCell()
    {
        if (++m_cells > XlsxSheetStream::kCellLimit)
            throw WorkbookError(CauseKind::WorkbookTooLarge, m_file, "worksheet 1 holds more than " + std::to_string(XlsxSheetStream::kCellLimit) +
                                            " cells: too large to be read");
    }

    // Checks the order and hands the cell on: to the visitor, or into the block.
    void deliver(const StreamedCell& cell)
    {
        const std::uint64_t key = cellKey(cell.row, cell.column);
        if (m_cells > 1 && key <= m_lastKey)
            throw UnorderedSheet(CauseKind::DamagedWorkbook, m_file, "the cells of worksheet 1 are not in row order (at " +
                                             cellName(cell.row, cell.column) + ")");
        m_lastKey = key;
        if (m_block) {
            m_block->texts.append(cell.text);
            m_block->cells.push_back({cell.row, cell.column, cell.formula, cell.error, cell.noResult});
        } else if (!m_visitor->visit(cell)) {
            m_stopped = true;
        }
    }

    void endCell()
    {
        m_column = m_cellColumn;
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
        deliver(cell);
    }

    const std::string& m_file;
    const std::string& m_partName;
    const SheetContext& m_context;
    SheetCellVisitor* m_visitor = nullptr;
    CellBlock* m_block = nullptr;
    int m_depthOffset = 0;

    bool m_stopped = false;
    bool m_afterRow = false;
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

CellBlock parseBlock(const std::string& bytes, const std::string& file, const std::string& partName,
                     const SheetContext& context)
{
    return parseBlockRecords<CellBlock, BlockNeedsSheetOrder>(bytes, &SheetParser::afterRow, file, partName, context);
}

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
    // A city's list is mostly rows: their parsing goes to the other cores.
    XmlBlocks<CellBlock> blocks(parser, "</row>",
                                {.parse = [&](const std::string& bytes) { return parseBlock(bytes, path, parts.sheetPartName, context); },
                                 .atBoundary = [&] { return parser.afterRow(); },
                                 .replay = [&](const CellBlock& block) { parser.replay(block); }},
                                std::thread::hardware_concurrency());
    try {
        package.stream(parts.sheetPartName, kStreamedPartLimit, [&](const char* data, std::size_t size) {
            blocks.feed(data, size);
            if (parser.stopped())
                throw StreamStopped{};
        });
        blocks.finish();
    } catch (const StreamStopped&) {
        return;
    }
    if (!parser.sawSheetData())
        throw WorkbookError(CauseKind::DamagedWorkbook, path, "the worksheet " + parts.sheetPartName + " has no sheetData element");
}

} // namespace sedilo::workbook
