#include <gtest/gtest.h>

#include <chrono>
#include <sys/resource.h>

#include "XlsxTestPackage.h"
#include "services/workbook/Workbook.h"
#include "services/workbook/XlsxSheetStream.h"
#include "support/TempDir.h"

using namespace sedilo::workbook;
using namespace sedilo::test;

namespace {

struct Collected {
    struct Cell {
        int row;
        int column;
        std::string text;
        bool error;
    };
    std::vector<Cell> cells;
    int lastRow = 0;
};

class Collector final : public SheetCellVisitor {
public:
    bool visit(const StreamedCell& cell) override
    {
        m_collected.cells.push_back({cell.row, cell.column, std::string(cell.text), cell.error});
        if (cell.hasValue())
            m_collected.lastRow = std::max(m_collected.lastRow, cell.row);
        return true;
    }
    Collected m_collected;
};

Collected streamed(const std::string& path)
{
    Collector collector;
    EXPECT_TRUE(streamXlsxFirstSheet(path, collector));
    return collector.m_collected;
}

// A sheet of `rows` rows of `cell` repeated `perRow` times, packed tightly.
std::string craftedSheet(const TempDir& folder, const std::string& name, int rows, int perRow, const std::string& cell)
{
    ZipEntries entries = readZipEntries(fixturePath("xlsx-values.xlsx"));
    std::string row;
    for (int i = 0; i < perRow; ++i)
        row += cell;
    std::string xml = "<worksheet><sheetData>";
    xml.reserve(static_cast<std::size_t>(rows) * (row.size() + 11) + 64);
    for (int r = 0; r < rows; ++r)
        xml += "<row>" + row + "</row>";
    xml += "</sheetData></worksheet>";
    entryContent(entries, "xl/worksheets/sheet1.xml") = std::move(xml);
    const std::string path = folder.file(name);
    writeZip(path, entries);
    return path;
}

} // namespace

// The stream reads every cell as the document reader does, on workbooks
// written by openpyxl and on one crafted part by part.
TEST(XlsxSheetStream, ReadsWhatTheDocumentReaderReads)
{
    for (const char* fixture : {"xlsx-crafted.xlsx", "xlsx-values.xlsx", "xlsx-values-1904.xlsx",
                                "basedata-examinees.xlsx", "basedata-error-row50.xlsx"}) {
        SCOPED_TRACE(fixture);
        const std::string path = fixturePath(fixture);
        const Collected cells = streamed(path);
        const auto book = Workbook::open(path);
        const Worksheet& sheet = book->firstSheet();
        EXPECT_EQ(cells.lastRow, sheet.lastRow());
        std::size_t shown = 0;
        for (const auto& cell : cells.cells) {
            if (cell.error) {
                EXPECT_THROW(sheet.cellText(cell.row, cell.column), WorkbookError);
                continue;
            }
            EXPECT_EQ(cell.text, sheet.cellText(cell.row, cell.column)) << cell.row << "," << cell.column;
            shown += cell.text.empty() ? 0 : 1;
        }
        EXPECT_GT(shown, 3u);
    }
}

TEST(XlsxSheetStream, CellsOutOfOrderAreLeftToTheDocumentReader)
{
    TempDir folder;
    ZipEntries entries = readZipEntries(fixturePath("xlsx-values.xlsx"));
    entryContent(entries, "xl/worksheets/sheet1.xml") =
        "<worksheet><sheetData><row r=\"2\"><c r=\"A2\"><v>2</v></c></row>"
        "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData></worksheet>";
    const std::string path = folder.file("unordered.xlsx");
    writeZip(path, entries);
    Collector collector;
    EXPECT_THROW(streamXlsxFirstSheet(path, collector), UnorderedSheet);
    EXPECT_EQ(Workbook::open(path)->firstSheet().cellText(1, 1), "1");
}

// Sheets that inflate to hundreds of megabytes from a few hundred kilobytes:
// the document reader refuses them at once, the stream reads them in bounded
// memory and time.
TEST(XlsxSheetStream, CraftedHugeSheetsAreRefusedOrStreamedInBoundedMemory)
{
    TempDir folder;
    const std::string empties = craftedSheet(folder, "empties.xlsx", 20000, 2000, "<c/>"); // 160 MB
    const std::string numbers = craftedSheet(folder, "numbers.xlsx", 1000, 4000, "<c><v>1</v></c>");
    for (const std::string& path : {empties, numbers}) {
        const auto start = std::chrono::steady_clock::now();
        try {
            Workbook::open(path);
            ADD_FAILURE() << path << " was read as a document";
        } catch (const WorkbookError& refused) {
            EXPECT_EQ(refused.cause().kind, sedilo::CauseKind::WorkbookTooLarge) << refused.what();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }

    class Counter final : public SheetCellVisitor {
    public:
        bool visit(const StreamedCell& cell) override
        {
            values += cell.hasValue() ? 1 : 0;
            ++cells;
            return true;
        }
        std::size_t cells = 0;
        std::size_t values = 0;
    } counter;
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    ASSERT_TRUE(streamXlsxFirstSheet(numbers, counter));
    EXPECT_EQ(counter.values, 4000000u);
    // A cell cap ends a sheet of more cells than any list needs.
    Counter all;
    try {
        streamXlsxFirstSheet(empties, all);
        ADD_FAILURE() << "40,000,000 cells were read";
    } catch (const WorkbookError& refused) {
        EXPECT_EQ(refused.cause().kind, sedilo::CauseKind::WorkbookTooLarge) << refused.what();
    }
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kB more at the peak";
}

// A list long enough to be parsed block by block on other threads reads as
// the document reader reads it, also where blocks cannot be cut safely: a
// comment that could hide a row's end, or rows and cells without numbers.
TEST(XlsxSheetStream, LongListsReadAsTheDocumentReaderReadsThem)
{
    TempDir folder;
    const auto sheet = [&](const std::string& name, int rows, const std::string& middle, bool numberedAfterMiddle) {
        std::string xml = "<?xml version=\"1.0\"?>\n<worksheet><sheetData>";
        for (int r = 1; r <= rows; ++r) {
            const bool numbered = numberedAfterMiddle || r <= rows / 2;
            const std::string at = std::to_string(r);
            if (r == rows / 2)
                xml += middle;
            xml += numbered ? "<row r=\"" + at + "\">" : "<row>";
            xml += numbered ? "<c r=\"A" + at + "\" t=\"inlineStr\">" : "<c t=\"inlineStr\">";
            xml += "<is><t>考生&#" + std::to_string(0x4e00 + r % 500) + ";" + at + "</t></is></c>";
            xml += numbered ? "<c r=\"C" + at + "\">" : "<c>";
            xml += "<v>" + std::to_string(r * 7) + "</v></c>";
            xml += numbered ? "<c r=\"D" + at + "\" t=\"str\">" : "<c t=\"str\">";
            xml += "<f>B" + at + "</f><v>&lt;" + at + "&gt;</v></c></row>\n";
        }
        xml += "</sheetData></worksheet>";
        ZipEntries entries = readZipEntries(fixturePath("xlsx-values.xlsx"));
        entryContent(entries, "xl/worksheets/sheet1.xml") = std::move(xml);
        const std::string path = folder.file(name);
        writeZip(path, entries);
        return path;
    };
    const int rows = 12000;
    for (const std::string& path : {sheet("plain.xlsx", rows, "", true),
                                    sheet("comment.xlsx", rows, "<!-- </row> -->", true),
                                    sheet("unnumbered.xlsx", rows, "", false)}) {
        SCOPED_TRACE(path);
        const Collected cells = streamed(path);
        const auto book = Workbook::open(path);
        ASSERT_EQ(cells.cells.size(), 3u * rows);
        EXPECT_EQ(cells.lastRow, rows);
        for (std::size_t i = 0; i < cells.cells.size(); i += 97) {
            const auto& cell = cells.cells[i];
            EXPECT_EQ(cell.row, static_cast<int>(i / 3) + 1);
            EXPECT_EQ(cell.text, book->firstSheet().cellText(cell.row, cell.column)) << cell.row << "," << cell.column;
        }
    }
    // A cell out of order deep in the list still stops the stream there.
    ZipEntries entries = readZipEntries(sheet("late.xlsx", rows, "", true));
    std::string& xml = entryContent(entries, "xl/worksheets/sheet1.xml");
    xml.replace(xml.find("<c r=\"C9000\""), 12, "<c r=\"C8000\"");
    writeZip(folder.file("late.xlsx"), entries);
    Collector collector;
    EXPECT_THROW(streamXlsxFirstSheet(folder.file("late.xlsx"), collector), UnorderedSheet);
    EXPECT_EQ(collector.m_collected.cells.size(), 3u * 8999 + 1);
}

// A shared-string part long enough to be parsed block by block reads item
// for item as in one parse: rich runs, phonetic runs and escapes included,
// also where a comment stops the cutting.
TEST(XlsxSheetStream, LongSharedStringPartsKeepEveryItem)
{
    TempDir folder;
    const int items = 40000;
    const auto expected = [](int i) {
        const std::string at = std::to_string(i);
        switch (i % 4) {
        case 0: return "plain" + at;
        case 1: return "rich " + at + "text runs";
        case 2: return "姓名" + at;
        default: return "tab\t" + at;
        }
    };
    const auto book = [&](const std::string& name, const std::string& middle) {
        std::string sst = "<?xml version=\"1.0\"?>\n<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
        for (int i = 0; i < items; ++i) {
            const std::string at = std::to_string(i);
            if (i == items / 2)
                sst += middle;
            switch (i % 4) {
            case 0: sst += "<si><t>plain" + at + "</t></si>"; break;
            case 1: sst += "<si><r><rPr><b/></rPr><t>rich " + at + "</t></r><r><t>text runs</t></r></si>"; break;
            case 2: sst += "<si><t>姓名" + at + "</t><rPh sb=\"0\" eb=\"2\"><t>シメイ</t></rPh></si>"; break;
            default: sst += "<si><t>tab_x0009_" + at + "</t></si>"; break;
            }
        }
        sst += "</sst>";
        std::string sheet = "<worksheet><sheetData>";
        for (int i = 0, row = 1; i < items; i += 7, ++row) {
            const std::string r = std::to_string(row);
            sheet += "<row r=\"" + r + "\"><c r=\"A" + r + "\" t=\"s\"><v>" + std::to_string(i) + "</v></c></row>";
        }
        sheet += "</sheetData></worksheet>";
        ZipEntries entries = readZipEntries(fixturePath("xlsx-crafted.xlsx"));
        entryContent(entries, "book/strings.xml") = std::move(sst);
        entryContent(entries, "book/sheets/b.xml") = std::move(sheet);
        writeZip(folder.file(name), entries);
        return folder.file(name);
    };
    for (const std::string& path : {book("plain.xlsx", ""), book("comment.xlsx", "<!-- </si> -->")}) {
        SCOPED_TRACE(path);
        const Collected cells = streamed(path);
        ASSERT_EQ(cells.cells.size(), static_cast<std::size_t>((items + 6) / 7));
        for (std::size_t row = 0; row < cells.cells.size(); ++row)
            ASSERT_EQ(cells.cells[row].text, expected(static_cast<int>(row) * 7)) << row;
    }
}
