#include <gtest/gtest.h>

#include <vector>

#include "services/workbook/Workbook.h"
#include "support/TempDir.h"

using namespace sedilo::workbook;
using sedilo::test::fixturePath;

namespace {

struct SeenCell {
    int row;
    int column;
    std::string text;
    bool operator==(const SeenCell&) const = default;
};

std::vector<SeenCell> allCells(const Worksheet& sheet)
{
    std::vector<SeenCell> cells;
    sheet.forEachCell([&](int row, int column, const std::string& text) { cells.push_back({row, column, text}); });
    return cells;
}

} // namespace

TEST(XlsxWorksheetTest, ReadsTheValueKindsAnOpenpyxlWorkbookHolds)
{
    for (const char* name : {"xlsx-values.xlsx", "xlsx-values-1904.xlsx"}) {
        SCOPED_TRACE(name);
        const auto book = Workbook::open(fixturePath(name));
        const Worksheet& sheet = book->firstSheet();
        EXPECT_EQ(sheet.cellText(1, 2), "张三");
        EXPECT_EQ(sheet.cellText(2, 2), "20140001");
        EXPECT_EQ(sheet.cellText(3, 2), "202612345678");
        EXPECT_EQ(sheet.cellText(4, 2), "89.5");
        EXPECT_EQ(sheet.cellText(5, 2), "1.5E+16");
        EXPECT_EQ(sheet.cellText(6, 2), "1.2345E-05");
        EXPECT_EQ(sheet.cellText(7, 2), "-3.25");
        EXPECT_EQ(sheet.cellText(8, 2), "2014/9/1");
        EXPECT_EQ(sheet.cellText(9, 2), "2014/9/1 8:30:05");
        EXPECT_EQ(sheet.cellText(10, 2), "True");
        EXPECT_EQ(sheet.cellText(11, 2), "False");
        EXPECT_EQ(sheet.cellText(12, 2), "第一行\n第二行");
        EXPECT_EQ(sheet.cellText(13, 2), "  padded  ");
        EXPECT_EQ(sheet.cellText(14, 2), "");
        EXPECT_EQ(sheet.cellText(500, 300), "");
        // The filled-in cell I30 is formatting only.
        EXPECT_EQ(sheet.lastRow(), 13);
        EXPECT_EQ(sheet.lastColumn(), 2);
    }
}

TEST(XlsxWorksheetTest, ReadsWhatOnlyHandWrittenPartsHold)
{
    const auto book = Workbook::open(fixturePath("xlsx-crafted.xlsx"));
    const Worksheet& sheet = book->firstSheet();
    // Worksheet 1 is the first tab, not the sheet with the lowest id.
    EXPECT_EQ(sheet.cellText(1, 1), "plain");
    EXPECT_EQ(sheet.cellText(1, 2), "rich text runs");
    EXPECT_EQ(sheet.cellText(1, 3), "姓名"); // the phonetic run is not part of the text
    EXPECT_EQ(sheet.cellText(1, 4), "tab\tand\r\nbreak _x0041_ \xF0\x9F\x98\x80");
    EXPECT_EQ(sheet.cellText(2, 1), "inline");
    EXPECT_EQ(sheet.cellText(2, 2), "inline runs");
    EXPECT_EQ(sheet.cellText(2, 3), "1904/1/1");           // custom date format, 1904 system
    EXPECT_EQ(sheet.cellText(2, 4), "2014/9/1 18:00:00");  // built-in date format 14
    EXPECT_EQ(sheet.cellText(2, 5), "12.5");               // 0.0"d" is not a date
    // Row 3 has no number; its cells count on from the previous one.
    EXPECT_EQ(sheet.cellText(3, 1), "1");
    EXPECT_EQ(sheet.cellText(3, 2), "2");
    EXPECT_EQ(sheet.cellText(3, 5), "5");
    EXPECT_EQ(sheet.cellText(3, 6), "6");
    EXPECT_EQ(sheet.cellText(4, 1), "");
    // Formulas give their cached results.
    EXPECT_EQ(sheet.cellText(5, 1), "2");
    EXPECT_EQ(sheet.cellText(5, 2), "ab");
    EXPECT_EQ(sheet.cellText(5, 4), "True");
    EXPECT_EQ(sheet.cellText(5, 5), "");
    EXPECT_EQ(sheet.cellText(6, 5), "4");
    // The dimension claims Z99 and H20 is formatting only.
    EXPECT_EQ(sheet.lastRow(), 6);
    EXPECT_EQ(sheet.lastColumn(), 7);
}

TEST(XlsxWorksheetTest, AnErrorValueIsAFailureNamingTheCell)
{
    const auto book = Workbook::open(fixturePath("xlsx-crafted.xlsx"));
    const Worksheet& sheet = book->firstSheet();
    try {
        sheet.cellText(5, 3);
        FAIL() << "no failure";
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.detail(), "cell C5 holds the error #N/A");
        EXPECT_EQ(error.file(), fixturePath("xlsx-crafted.xlsx"));
    }
    EXPECT_THROW(sheet.forEachCell([](int, int, const std::string&) {}), WorkbookError);
    EXPECT_THROW(sheet.cellText(0, 1), WorkbookError);
}

TEST(XlsxWorksheetTest, EditsAreSeenByReadsAndMoveTheBounds)
{
    const auto book = Workbook::open(fixturePath("xlsx-seat-template.xlsx"));
    Worksheet& sheet = book->firstSheet();
    sheet.setCellText(2, 1, "1\n张三\n20140001");
    sheet.setCellText(9, 7, "note");
    EXPECT_EQ(sheet.cellText(2, 1), "1\n张三\n20140001");
    EXPECT_EQ(sheet.lastRow(), 9);
    EXPECT_EQ(sheet.lastColumn(), 7);
    sheet.setCellText(9, 7, "");
    sheet.setCellText(6, 1, "");
    EXPECT_EQ(sheet.lastRow(), 4);
    EXPECT_EQ(sheet.lastColumn(), 4);

    const auto cells = allCells(sheet);
    ASSERT_EQ(cells.size(), 13u);
    EXPECT_EQ(cells[1], (SeenCell{2, 1, "1\n张三\n20140001"}));
    EXPECT_EQ(cells.back(), (SeenCell{4, 4, "座位号\n姓名\n考号"}));
}

TEST(XlsxWorksheetTest, ReplaceAllMatchesInsideTextsIgnoringLatinCase)
{
    const auto book = Workbook::open(fixturePath("xlsx-seat-template.xlsx"));
    Worksheet& sheet = book->firstSheet();
    sheet.setCellText(2, 1, "7\n张三\n考号");
    sheet.replaceAll("考号", "");
    sheet.replaceAll("name", "王五");
    sheet.replaceAll("考室名称", "第1考室(1人)");
    EXPECT_EQ(sheet.cellText(1, 1), "第1考室(1人)");
    EXPECT_EQ(sheet.cellText(2, 1), "7\n张三\n");
    EXPECT_EQ(sheet.cellText(4, 4), "座位号\n姓名\n");
    EXPECT_EQ(sheet.cellText(6, 1), "监考：王五 单位");
    sheet.replaceAll("", "x");
    EXPECT_EQ(sheet.cellText(6, 1), "监考：王五 单位");
}

TEST(XlsxWorksheetTest, FormulaCellsAreWrittenAndReplacedAsValues)
{
    const auto book = Workbook::open(fixturePath("xlsx-crafted.xlsx"));
    Worksheet& sheet = book->firstSheet();
    // E5 stores no result: it has no text, and says so.
    EXPECT_EQ(sheet.cellText(5, 5), "");
    EXPECT_TRUE(sheet.formulaLacksResult(5, 5));
    EXPECT_FALSE(sheet.formulaLacksResult(5, 1));
    EXPECT_FALSE(sheet.formulaLacksResult(6, 5));
    sheet.setCellText(5, 1, "written");
    sheet.replaceAll("a", "z");
    EXPECT_EQ(sheet.cellText(5, 1), "written");
    EXPECT_EQ(sheet.cellText(5, 2), "zb");
    EXPECT_EQ(sheet.cellText(1, 1), "plzin");
    sheet.setCellText(5, 5, "");
    EXPECT_FALSE(sheet.formulaLacksResult(5, 5));
}

TEST(XlsxWorksheetTest, ClonesAreIndependentOfEachOtherAndOfTheirSource)
{
    const auto source = Workbook::open(fixturePath("xlsx-seat-template.xlsx"));
    source->firstSheet().setCellText(2, 1, "from the source");
    const auto first = source->clone();
    const auto second = first->clone();
    first->firstSheet().setCellText(2, 2, "first");
    second->firstSheet().replaceAll("座位号", "");
    EXPECT_EQ(first->firstSheet().cellText(2, 1), "from the source");
    EXPECT_EQ(first->firstSheet().cellText(2, 2), "first");
    EXPECT_EQ(first->firstSheet().cellText(2, 3), "座位号\n姓名\n考号");
    EXPECT_EQ(second->firstSheet().cellText(2, 2), "\n姓名\n考号");
    EXPECT_EQ(source->firstSheet().cellText(2, 2), "座位号\n姓名\n考号");
    EXPECT_EQ(second->path(), source->path());
}
