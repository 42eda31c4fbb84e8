#include <gtest/gtest.h>

#include <filesystem>

#include "ArrangeTestBed.h"
#include "arrange/ArrangeError.h"
#include "arrange/FillRoomWorkbook.h"
#include "services/workbook/Workbook.h"

namespace sedilo::test {
namespace {

using arrange::FillRoomWorkbook;
using rooms::FillDirection;

class FillRoomWorkbookTest : public ::testing::Test {
protected:
    std::string makeTemplateFile(const Cells& cells, const std::string& stem = "template")
    {
        return makeTemplate(m_dir.file(stem), cells);
    }
    // Fills and reads the saved room workbook back.
    Cells fill(const std::string& templatePath, ListSource& source, FillDirection direction,
               const std::string& room = "第1考室")
    {
        const std::string saved = FillRoomWorkbook(templatePath, room, m_dir.folderText(), direction, source);
        EXPECT_EQ(saved, m_dir.folderText() + room + ".xlsx");
        return readCells(saved);
    }

    TempDir m_dir;
};

TEST_F(FillRoomWorkbookTest, HorizontalWorkedExample)
{
    const std::string path = makeTemplateFile(seatBlock(2, 4, 1, 4, "座位号 姓名"));
    ListSource source(namedExaminees("A", 10));
    Cells cells = fill(path, source, FillDirection::Horizontal);

    EXPECT_EQ(cells[std::make_pair(1, 1)], "第1考室(10人)");
    const std::map<std::pair<int, int>, std::string> expected{
        {{2, 1}, "1 A1"}, {{2, 2}, "2 A2"}, {{2, 3}, "3 A3"}, {{2, 4}, "4 A4"},
        {{3, 4}, "5 A5"}, {{3, 3}, "6 A6"}, {{3, 2}, "7 A7"}, {{3, 1}, "8 A8"},
        {{4, 1}, "9 A9"}, {{4, 2}, "10 A10"}, {{4, 3}, " "}, {{4, 4}, " "},
    };
    for (const auto& [cell, text] : expected)
        EXPECT_EQ(cells[cell], text) << "row " << cell.first << " column " << cell.second;
    ASSERT_EQ(source.seats.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(source.seats[i], std::make_pair(std::string("第1考室"), i + 1));
}

TEST_F(FillRoomWorkbookTest, RowWithoutSeatsKeepsTheDirection)
{
    Cells layout = seatBlock(2, 4, 1, 4, "座位号 姓名");
    for (int column = 1; column <= 4; ++column)
        layout[std::make_pair(3, column)] = "走道";
    ListSource source(namedExaminees("A", 6));
    Cells cells = fill(makeTemplateFile(layout), source, FillDirection::Horizontal);

    // Row 3 holds no seat, so row 4 runs right to left as row 3 would have.
    EXPECT_EQ(cells[std::make_pair(2, 4)], "4 A4");
    EXPECT_EQ(cells[std::make_pair(4, 4)], "5 A5");
    EXPECT_EQ(cells[std::make_pair(4, 3)], "6 A6");
    EXPECT_EQ(cells[std::make_pair(4, 1)], " ");
    EXPECT_EQ(cells[std::make_pair(3, 2)], "走道");
}

TEST_F(FillRoomWorkbookTest, VerticalWorkedExample)
{
    const std::string path = makeTemplateFile(seatBlock(2, 4, 1, 4, "座位号 姓名"));
    ListSource source(namedExaminees("A", 10));
    Cells cells = fill(path, source, FillDirection::Vertical);

    const std::map<std::pair<int, int>, std::string> expected{
        {{2, 1}, "1 A1"}, {{3, 1}, "2 A2"}, {{4, 1}, "3 A3"},
        {{4, 2}, "4 A4"}, {{3, 2}, "5 A5"}, {{2, 2}, "6 A6"},
        {{2, 3}, "7 A7"}, {{3, 3}, "8 A8"}, {{4, 3}, "9 A9"},
        {{4, 4}, "10 A10"}, {{3, 4}, " "}, {{2, 4}, " "},
    };
    for (const auto& [cell, text] : expected)
        EXPECT_EQ(cells[cell], text) << "row " << cell.first << " column " << cell.second;
    EXPECT_EQ(cells[std::make_pair(1, 1)], "第1考室(10人)");
}

TEST_F(FillRoomWorkbookTest, TemplateWithoutSeatsTakesNobodyAndIsStillSaved)
{
    const std::string path = makeTemplateFile({{{1, 1}, "考室名称"}, {{2, 1}, "讲台"}, {{1, 2}, "姓名"}});
    ListSource source(namedExaminees("A", 3));
    Cells cells = fill(path, source, FillDirection::Vertical);

    EXPECT_EQ(cells[std::make_pair(1, 1)], "第1考室(0人)");
    EXPECT_EQ(cells[std::make_pair(2, 1)], "讲台");
    EXPECT_TRUE(source.seats.empty());
    EXPECT_EQ(source.name(), "A1"); // the next room starts with the same examinee
}

TEST_F(FillRoomWorkbookTest, SeatWordsOutsideTheScanAreaAreBlankedNotFilled)
{
    // 姓名 in row 1 and in column 101; C = 101, so passes still cover columns 1..100.
    const std::string path = makeTemplateFile({{{1, 1}, "考室名称"}, {{1, 3}, "甲姓名"}, {{2, 100}, "姓名"},
                                               {{3, 99}, "姓名"}, {{3, 100}, "姓名"}, {{2, 101}, "乙姓名"}});
    ListSource source(namedExaminees("A", 5));
    Cells cells = fill(path, source, FillDirection::Horizontal);

    EXPECT_EQ(cells[std::make_pair(2, 100)], "A1");
    EXPECT_EQ(cells[std::make_pair(3, 100)], "A2"); // the backward pass starts at column 100
    EXPECT_EQ(cells[std::make_pair(3, 99)], "A3");
    EXPECT_EQ(cells[std::make_pair(1, 3)], "甲");
    EXPECT_EQ(cells[std::make_pair(2, 101)], "乙");
    EXPECT_EQ(source.seats.size(), 3u);
}

TEST_F(FillRoomWorkbookTest, SeatTextReplacementsRunInOrderOnEachOthersResult)
{
    Cells layout{{{1, 1}, "考室名称"}};
    for (int row = 2; row <= 8; ++row)
        layout[std::make_pair(row, 1)] = "第座位号号 姓名（单位）";
    layout[std::make_pair(9, 1)] = "姓名/姓名 考号";
    layout[std::make_pair(10, 1)] = "姓名 单位";
    layout[std::make_pair(11, 1)] = "姓名";
    std::vector<Examinee> examinees = namedExaminees("A", 6);
    examinees.push_back({"张三", "7", "一班"});
    examinees.push_back({"李四", "8", "二班"});
    examinees.push_back({"王五", "9", "教育单位"});
    examinees.push_back({"赵考号单位", "42", "三班"});
    ListSource source(examinees);
    Cells cells = fill(makeTemplateFile(layout), source, FillDirection::Vertical, "单位考室");

    EXPECT_EQ(cells[std::make_pair(8, 1)], "第7号 张三（一班）");
    EXPECT_EQ(cells[std::make_pair(9, 1)], "李四/李四 8"); // one seat, name twice
    EXPECT_EQ(cells[std::make_pair(10, 1)], "王五 教育"); // the final blanking takes 单位 from 教育单位
    EXPECT_EQ(cells[std::make_pair(11, 1)], "赵42三班");  // the name's own words are replaced by the later steps
    EXPECT_EQ(cells[std::make_pair(1, 1)], "考室(10人)"); // the label loses 单位 too
    EXPECT_EQ(source.seats.size(), 10u);
    EXPECT_EQ(source.seats.back(), std::make_pair(std::string("单位考室"), 10)); // the full name is kept
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("单位考室.xlsx")));
}

TEST_F(FillRoomWorkbookTest, EmptyFirstWorksheetFailsWithoutSaving)
{
    const std::string path = makeTemplateFile({});
    ListSource source(namedExaminees("A", 3));
    EXPECT_THROW(FillRoomWorkbook(path, "第1考室", m_dir.folderText(), FillDirection::Vertical, source),
                 workbook::WorkbookError);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("第1考室.xlsx")));
    EXPECT_TRUE(source.seats.empty());
}

TEST_F(FillRoomWorkbookTest, RefusesToOverwriteItsTemplateOrLeaveTheFolder)
{
    // A template lying in the output folder under its room's name.
    const std::string path = makeTemplateFile(seatBlock(2, 2, 1, 2, "姓名"), "第1考室");
    ListSource source(namedExaminees("A", 3));
    EXPECT_THROW(FillRoomWorkbook(path, "第1考室", m_dir.folderText(), FillDirection::Vertical, source),
                 arrange::ArrangeError);
    EXPECT_EQ(readCells(path)[std::make_pair(2, 1)], "姓名");

    for (const std::string room : {"", ".", "..", "a/b", "a\\b", "a\tb"}) {
        EXPECT_THROW(FillRoomWorkbook(path, room, m_dir.folderText(), FillDirection::Vertical, source),
                     arrange::ArrangeError)
            << room;
    }
    EXPECT_TRUE(source.seats.empty());
}

TEST_F(FillRoomWorkbookTest, FolderTextWithoutSeparatorJoinsTheName)
{
    const std::string path = makeTemplateFile(seatBlock(2, 2, 1, 1, "姓名"));
    std::filesystem::create_directory(m_dir.file("out"));
    ListSource source(namedExaminees("A", 1));
    const std::string saved = FillRoomWorkbook(path, "第1考室", m_dir.file("out"), FillDirection::Vertical, source);
    EXPECT_EQ(saved, m_dir.file("out第1考室.xlsx"));
    EXPECT_TRUE(std::filesystem::exists(saved));
}

TEST_F(FillRoomWorkbookTest, LegacyTemplateKeepsItsFormat)
{
    ListSource source(namedExaminees("A", 40));
    const std::string saved = FillRoomWorkbook(fixturePath("arrange-template.xls"), "第1考室", m_dir.folderText(),
                                               FillDirection::Horizontal, source);
    EXPECT_EQ(saved, m_dir.file("第1考室.xls"));
    Cells cells = readCells(saved);
    EXPECT_EQ(cells[std::make_pair(1, 1)], "第1考室(4人)");
    EXPECT_EQ(cells[std::make_pair(2, 1)], "1\nA1\n20260001");
    EXPECT_EQ(cells[std::make_pair(3, 1)], "4\nA4\n20260004");
}

TEST_F(FillRoomWorkbookTest, UnreadableCellFailsOnlyWhenExamineesReachIt)
{
    // B2 and C2 are seats, A3 holds an error value.
    const std::string path = fixturePath("arrange-error-cell.xlsx");
    ListSource enough(namedExaminees("A", 2));
    const auto saved = workbook::Workbook::open(
        FillRoomWorkbook(path, "甲", m_dir.folderText(), FillDirection::Horizontal, enough));
    EXPECT_EQ(saved->firstSheet().cellText(2, 2), "A1");
    EXPECT_EQ(saved->firstSheet().cellText(1, 1), "甲(2人)");

    ListSource more(namedExaminees("A", 3));
    EXPECT_THROW(FillRoomWorkbook(path, "乙", m_dir.folderText(), FillDirection::Horizontal, more),
                 workbook::WorkbookError);
    EXPECT_EQ(more.seats.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("乙.xlsx")));
}

} // namespace
} // namespace sedilo::test
