#include <gtest/gtest.h>

#include "services/workbook/xls/XlsWorkbook.h"
#include "support/TempDir.h"
#include "XlsTestBooks.h"

namespace sedilo::workbook {
namespace {

using test::fixturePath;

std::unique_ptr<Workbook> openFixture(const std::string& name)
{
    return openXls(fixturePath(name));
}

TEST(XlsRead, ExamineeListGivesTextsNumbersAndBooleansAsText)
{
    const auto book = openFixture("xls-examinees.xls");
    const Worksheet& sheet = book->firstSheet();
    EXPECT_EQ(book->extension(), ".xls");
    EXPECT_EQ(sheet.cellText(1, 1), "姓名");
    EXPECT_EQ(sheet.cellText(1, 4), "成绩");
    EXPECT_EQ(sheet.cellText(2, 1), "张三");
    EXPECT_EQ(sheet.cellText(2, 2), "20140001");
    EXPECT_EQ(sheet.cellText(2, 4), "89.5");
    EXPECT_EQ(sheet.cellText(3, 4), "92");
    EXPECT_EQ(sheet.cellText(4, 2), "202612345678");
    EXPECT_EQ(sheet.cellText(4, 4), "");
    EXPECT_EQ(sheet.cellText(5, 1), " 赵六 ");
    EXPECT_EQ(sheet.cellText(5, 4), "0.0001");
    EXPECT_EQ(sheet.cellText(6, 1), "True");
    EXPECT_EQ(sheet.cellText(6, 2), "1.5E+16");
    EXPECT_EQ(sheet.cellText(200, 200), "");
    EXPECT_EQ(sheet.lastRow(), 6);
    EXPECT_EQ(sheet.lastColumn(), 4);

    int visited = 0;
    sheet.forEachCell([&](int row, int column, const std::string& text) {
        ++visited;
        EXPECT_EQ(text, sheet.cellText(row, column));
    });
    EXPECT_EQ(visited, 21); // the empty score is no cell
}

TEST(XlsRead, DateFormatsGiveDatesInBothDateSystems)
{
    for (const char* name : {"xls-dates.xls", "xls-dates-1904.xls"}) {
        SCOPED_TRACE(name);
        const auto book = openFixture(name);
        const Worksheet& sheet = book->firstSheet();
        EXPECT_EQ(sheet.cellText(1, 1), "2026/6/7");
        EXPECT_EQ(sheet.cellText(2, 1), "2026/6/7 8:30:15");
        EXPECT_EQ(sheet.cellText(3, 1), "2026/6/7"); // custom yyyy"年"m"月"d"日"
        EXPECT_EQ(sheet.cellText(4, 1), "2026/6/7");
        EXPECT_EQ(sheet.cellText(5, 1), "46180.5"); // 0.00 is no date
        EXPECT_EQ(sheet.cellText(6, 1), "0.25");
    }
}

TEST(XlsRead, FormulasGiveTheirCachedResults)
{
    const auto book = openFixture("xls-formulas.xls"); // written by LibreOffice
    const Worksheet& sheet = book->firstSheet();
    EXPECT_EQ(sheet.cellText(1, 2), "20140002");
    EXPECT_EQ(sheet.cellText(2, 2), "考号-甲");
    EXPECT_EQ(sheet.cellText(3, 2), "True");
    EXPECT_EQ(sheet.cellText(4, 2), "");
    EXPECT_EQ(sheet.cellText(5, 2), "姓名姓名");
    EXPECT_EQ(sheet.cellText(7, 2), "2517500.125");
    EXPECT_EQ(sheet.lastRow(), 7);
    EXPECT_FALSE(sheet.formulaLacksResult(2, 2));
    // xlwt stores no result for any formula.
    const auto uncalculated = openFixture("basedata-formula-scores.xls");
    EXPECT_TRUE(uncalculated->firstSheet().formulaLacksResult(2, 4));
    EXPECT_EQ(uncalculated->firstSheet().cellText(2, 4), "");
    EXPECT_FALSE(uncalculated->firstSheet().formulaLacksResult(2, 5));
    try {
        sheet.cellText(6, 2);
        FAIL() << "an error value was read as text";
    } catch (const WorkbookError& error) {
        EXPECT_NE(std::string(error.what()).find("B6"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("#DIV/0!"), std::string::npos) << error.what();
    }
}

TEST(XlsRead, SharedStringsSpanningContinueRecords)
{
    const auto book = openFixture("xls-sst-continue.xls");
    const Worksheet& sheet = book->firstSheet();
    for (int i = 0; i < 800; ++i) {
        std::string expected;
        if (i % 3 == 0) {
            expected = "ascii string " + std::to_string(i) + " " + std::string(i % 50, 'x');
        } else if (i % 3 == 1) {
            expected = "中文字符串" + std::to_string(i);
            for (int k = 0; k < i % 40; ++k)
                expected += "汉";
        } else {
            expected = "mixed 混合 " + std::to_string(i);
        }
        ASSERT_EQ(sheet.cellText(i + 1, 1), expected) << "row " << i + 1;
    }
    std::string wide;
    for (int k = 0; k < 6000; ++k)
        wide += "长";
    EXPECT_EQ(sheet.cellText(1, 2), std::string(9000, 'L'));
    EXPECT_EQ(sheet.cellText(2, 2), wide);
    EXPECT_EQ(sheet.cellText(3, 2), "tail");
    EXPECT_EQ(sheet.lastRow(), 800);
}

TEST(XlsRead, RoomTemplatesFromTwoWritersReadTheSame)
{
    for (const char* name : {"xls-room-template.xls", "xls-room-template-lo.xls"}) {
        SCOPED_TRACE(name);
        const auto book = openFixture(name);
        const Worksheet& sheet = book->firstSheet();
        EXPECT_EQ(sheet.cellText(1, 1), "考室名称");
        EXPECT_EQ(sheet.cellText(1, 2), ""); // inside the merged title
        for (int row = 2; row <= 4; ++row)
            for (int column = 1; column <= 4; ++column)
                EXPECT_EQ(sheet.cellText(row, column), "座位号\n姓名\n考号");
        EXPECT_EQ(sheet.cellText(6, 1), "讲台");
        EXPECT_EQ(sheet.cellText(6, 2), "2026");
        EXPECT_EQ(sheet.lastRow(), 6);
        EXPECT_EQ(sheet.lastColumn(), 4);
    }
}

TEST(XlsRead, LabelMulRkAndMulBlankCellsOfOtherWriters)
{
    test::TempDir dir;
    // Two RK numbers: 7 (integer form) and 1.5 (IEEE form, top 30 bits).
    std::string mulRk;
    mulRk += std::string("\0\0\x1e\0\0\0", 6);          // xf 0, rk = 7 << 2 | 2
    mulRk += std::string("\0\0\0\0\xf8\x3f", 6);        // xf 0, 1.5 as a truncated double
    mulRk += std::string("\x02\0", 2);                  // last column 2
    const std::string path = dir.file("handmade.xls");
    test::writeBytes(path, test::handMadeWorkbook({
                               {workbook::xls::record::Label, test::labelBody(u"Seat 姓名", true), 0, 0},
                               {workbook::xls::record::Label, test::labelBody(u"plain", false), 0, 1},
                               {workbook::xls::record::MulRk, mulRk, 1, 1},
                               {workbook::xls::record::MulBlank, std::string("\0\0\0\0\x05\0", 6), 2, 4},
                           }));
    const auto book = openXls(path);
    const Worksheet& sheet = book->firstSheet();
    EXPECT_EQ(sheet.cellText(1, 1), "Seat 姓名");
    EXPECT_EQ(sheet.cellText(1, 2), "plain");
    EXPECT_EQ(sheet.cellText(2, 2), "7");
    EXPECT_EQ(sheet.cellText(2, 3), "1.5");
    EXPECT_EQ(sheet.cellText(3, 5), "");
    EXPECT_EQ(sheet.lastRow(), 2); // blank cells hold no value
    EXPECT_EQ(sheet.lastColumn(), 3);
}

} // namespace
} // namespace sedilo::workbook
