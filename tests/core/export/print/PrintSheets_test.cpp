#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PrintedBook.h"
#include "export/print/PrintSheets.h"
#include "store/Statements.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;
namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

namespace {

struct Seated {
    std::string name, number, unit, room, seat;
};

class PrintSheetsTest : public ::testing::Test {
protected:
    PrintSheetsTest() : m_database(m_dir.file("data.mdb")) { fs::create_directory(m_dir.path() / "out"); }

    void addExaminees(const std::vector<Seated>& examinees)
    {
        m_database.replaceSharedRecordset();
        m_database.OpenDataConnection();
        store::Recordset& rows = m_database.SharedRecordset();
        rows.open(store::sql::kSelectWorkingCopy, m_database.SharedConnection());
        for (const Seated& examinee : examinees) {
            rows.addNew();
            rows.setValue("姓名", examinee.name);
            rows.setValue("考号", examinee.number);
            rows.setValue("单位", examinee.unit);
            rows.setValue("成绩", std::string("60"));
            rows.setValue("随机号", 1.0);
            rows.setValue("考室", examinee.room);
            rows.setValue("座位号", examinee.seat);
            rows.update();
        }
        m_database.closeAll();
    }

    exporting::PrintSheetsResult print(const std::vector<std::string>& roomOrder)
    {
        return exporting::WritePrintSheets({}, out(""), roomOrder, m_database, m_prompt);
    }
    std::string out(const std::string& name) const { return (m_dir.path() / "out" / name).string(); }

    test::TempDir m_dir;
    store::SeatingDatabase m_database;
    test::ScriptedPrompt m_prompt;
};

void expectPageSetup(const test::PrintedSheet& sheet, const char* orientation)
{
    EXPECT_EQ(sheet.paperSize, "9"); // A4
    EXPECT_EQ(sheet.orientation, orientation);
    EXPECT_TRUE(sheet.fitToPage);
    EXPECT_EQ(sheet.fitToWidth, "1");
    EXPECT_EQ(sheet.fitToHeight, "0"); // as many pages tall as the breaks ask
}

} // namespace

TEST_F(PrintSheetsTest, TheThreeSheetsShowTheWorkingCopyPagedAndSetUpForA4)
{
    // Rooms in grid order (not name order), seats stored out of order, exam
    // numbers with leading zeros, a name with spaces and an examinee without a room.
    addExaminees({{"张三", "007", "一班", "第10考室", "2"},
                  {"李四", "0012", "二班", "第10考室", "1"},
                  {"王五", "003", "一班", "第2考室", "1"},
                  {"赵六", "001", "一班", "", ""},
                  {" 钱七", "0013", "二班", "第2考室", "2"}});
    std::ofstream(out("考场签到表.xlsx")) << "last week's sheet";

    const auto result = print({"第10考室", "第2考室", "第3考室"});
    ASSERT_TRUE(result.succeeded) << m_prompt.texts().back();
    EXPECT_EQ(result.written.size(), 3u);
    EXPECT_EQ(m_prompt.texts().back(), "打印用表（考场签到表、考场门贴、考生座位表）生成完毕！");

    const auto signIn = test::readPrintedBook(out("考场签到表.xlsx"));
    ASSERT_EQ(signIn.size(), 1u);
    const test::PrintedSheet& rooms = signIn[0];
    EXPECT_EQ(rooms.at(1, 1), "第10考室 考场签到表");
    EXPECT_EQ(rooms.at(2, 1), "考生人数：2人");
    EXPECT_EQ(rooms.row(3, 5), (Texts{"座位号", "考号", "姓名", "单位", "签名"}));
    EXPECT_EQ(rooms.row(4, 5), (Texts{"1", "0012", "李四", "二班", ""}));
    EXPECT_EQ(rooms.row(5, 5), (Texts{"2", "007", "张三", "一班", ""}));
    EXPECT_EQ(rooms.at(6, 1), "第2考室 考场签到表");
    EXPECT_EQ(rooms.row(10, 5), (Texts{"2", "0013", " 钱七", "二班", ""}));
    EXPECT_EQ(rooms.lastRow(), 10); // 第3考室 got nobody
    EXPECT_EQ(rooms.breaksAfterRows, std::vector<int>{5});
    EXPECT_EQ(rooms.merged[0], "A1:E1");
    expectPageSetup(rooms, "portrait");

    const auto door = test::readPrintedBook(out("考场门贴.xlsx"));
    ASSERT_EQ(door.size(), 1u);
    EXPECT_EQ(door[0].at(1, 1), "第10考室");
    EXPECT_EQ(door[0].at(2, 1), "考生人数：2人");
    EXPECT_EQ(door[0].at(3, 1), "考号：007 至 0012");
    EXPECT_EQ(door[0].at(4, 1), "考生所在单位及人数");
    EXPECT_EQ(door[0].at(5, 1), "一班：1人");
    EXPECT_EQ(door[0].at(5, 3), "二班：1人");
    EXPECT_EQ(door[0].at(6, 1), "第2考室");
    EXPECT_EQ(door[0].at(8, 1), "考号：003 至 0013");
    EXPECT_EQ(door[0].breaksAfterRows, std::vector<int>{5});
    expectPageSetup(door[0], "landscape");

    const auto lookup = test::readPrintedBook(out("考生座位表.xlsx"));
    ASSERT_EQ(lookup.size(), 2u);
    EXPECT_EQ(lookup[0].name, "一班");
    EXPECT_EQ(lookup[0].at(1, 1), "一班 考生座位表");
    EXPECT_EQ(lookup[0].row(2, 4), (Texts{"考号", "姓名", "考室", "座位号"}));
    EXPECT_EQ(lookup[0].row(3, 4), (Texts{"003", "王五", "第2考室", "1"}));
    EXPECT_EQ(lookup[0].row(4, 4), (Texts{"007", "张三", "第10考室", "2"}));
    EXPECT_EQ(lookup[0].at(5, 1), "另有1名考生没有安排考室。");
    EXPECT_EQ(lookup[1].row(3, 4), (Texts{"0012", "李四", "第10考室", "1"}));
    EXPECT_EQ(lookup[1].lastRow(), 4);
    for (const test::PrintedSheet& unit : lookup) {
        EXPECT_EQ(unit.printTitles, "$1:$2");
        expectPageSetup(unit, "portrait");
    }
}

TEST_F(PrintSheetsTest, ASheetNamedLikeARoomWorkbookStopsBeforeAnySheetIsWritten)
{
    addExaminees({{"张三", "1", "一班", "考生座位表", "1"}});
    std::ofstream(out("考生座位表.xlsx")) << "seat chart";

    EXPECT_FALSE(print({"考生座位表"}).succeeded);

    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.path() / "out"), {}), 1);
    std::ifstream chart(out("考生座位表.xlsx"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(chart), {}), "seat chart");
    const auto& box = m_prompt.shown().back();
    EXPECT_EQ(box.style, PromptStyle::Error);
    EXPECT_NE(box.text.find("考室“考生座位表”"), std::string::npos) << box.text;
}

TEST_F(PrintSheetsTest, ALongRoomGoesOnUnderItsHeaderAndTheBreakCeilingStartsASecondSheet)
{
    // 31 seats take two pages; with 1,023 one-seat rooms after it the first
    // sheet holds Excel's most of 1,023 breaks and the last room moves on.
    std::vector<Seated> examinees;
    for (int seat = 1; seat <= 31; ++seat)
        examinees.push_back({"甲" + std::to_string(seat), std::to_string(seat), "一班", "大考室", std::to_string(seat)});
    std::vector<std::string> order{"大考室"};
    for (int room = 1; room <= 1023; ++room) {
        order.push_back("考室" + std::to_string(room));
        examinees.push_back({"乙", "9", "二班", order.back(), "1"});
    }
    addExaminees(examinees);
    ASSERT_TRUE(exporting::WritePrintSheets({true, false, false}, out(""), order, m_database, m_prompt).succeeded);

    const auto signIn = test::readPrintedBook(out("考场签到表.xlsx"));
    ASSERT_EQ(signIn.size(), 2u);
    EXPECT_EQ(signIn[0].name, "考场签到表1");
    const test::PrintedSheet& first = signIn[0];
    EXPECT_EQ(first.breaksAfterRows.size(), 1023u);
    EXPECT_EQ(first.breaksAfterRows[0], 33); // 3 heading rows and 30 seats
    EXPECT_EQ(first.at(34, 1), "大考室 考场签到表（续）");
    EXPECT_EQ(first.row(35, 2), (Texts{"座位号", "考号"}));
    EXPECT_EQ(first.row(36, 2), (Texts{"31", "31"}));
    EXPECT_EQ(signIn[1].at(1, 1), "考室1023 考场签到表");
    EXPECT_TRUE(signIn[1].breaksAfterRows.empty());
}

TEST_F(PrintSheetsTest, UnitsAreListedByPinyinWithTheirNumbersByValue)
{
    // Stored in byte order: 三 (U+4E09) sorts before 二 (U+4E8C) and 十 after both.
    addExaminees({{"甲", "1", "高一1班", "第1考室", "1"},
                  {"乙", "2", "初三三班", "第1考室", "2"},
                  {"丙", "3", "初三十班", "第1考室", "3"},
                  {"丁", "4", "初三二班", "第1考室", "4"},
                  {"戊", "5", "初二10班", "第1考室", "5"},
                  {"己", "6", "初二2班", "第1考室", "6"}});
    ASSERT_TRUE(exporting::WritePrintSheets({false, true, true}, out(""), {"第1考室"}, m_database, m_prompt).succeeded);

    const Texts expected{"初二2班", "初二10班", "初三二班", "初三三班", "初三十班", "高一1班"};
    Texts sheets;
    for (const test::PrintedSheet& unit : test::readPrintedBook(out("考生座位表.xlsx")))
        sheets.push_back(unit.name);
    EXPECT_EQ(sheets, expected);
    const test::PrintedSheet door = test::readPrintedBook(out("考场门贴.xlsx"))[0];
    Texts onDoor;
    for (const auto& [row, column] : {std::pair{5, 1}, {5, 3}, {5, 5}, {6, 1}, {6, 3}, {6, 5}})
        onDoor.push_back(door.at(row, column));
    EXPECT_EQ(onDoor, (Texts{"初二2班：1人", "初二10班：1人", "初三二班：1人", "初三三班：1人", "初三十班：1人", "高一1班：1人"}));
}
