#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ArrangeTestBed.h"
#include "services/Messages.h"

namespace sedilo::test {
namespace {

using Outcome = arrange::GenerationResult::Outcome;

constexpr const char* kAllDone = "所有考室生成完成！";

class GenerateArrangementTest : public GenerationBed {
protected:
    void addRooms(int count, const std::string& templatePath)
    {
        for (int i = 1; i <= count; ++i)
            addRoom("第" + std::to_string(i) + "考室", templatePath);
    }
    std::string lastStatusBefore(const std::string& closing) const
    {
        std::string last;
        for (const ProgressState& state : m_progress) {
            if (state.status == closing)
                break;
            last = state.status;
        }
        return last;
    }
};

TEST_F(GenerateArrangementTest, SeventyExamineesInThreeRoomsOfThirty)
{
    storeExaminees(70);
    addRooms(3, ksmb());
    const auto result = generate();

    EXPECT_EQ(result.outcome, Outcome::Complete);
    EXPECT_EQ(m_prompt.texts(), (std::vector<std::string>{messages::kDoNotOperate, kAllDone}));
    EXPECT_EQ(m_prompt.shown().back().style, PromptStyle::Information);
    const auto rows = placements();
    ASSERT_EQ(rows.size(), 70u);
    for (int i = 0; i < 70; ++i) {
        EXPECT_EQ(rows[i].room, "第" + std::to_string(i / 30 + 1) + "考室") << i;
        EXPECT_EQ(rows[i].seat, std::to_string(i % 30 + 1)) << i;
    }
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"第1考室.xlsx", "第2考室.xlsx", "第3考室.xlsx"}));
    Cells third = readCells(m_out + "第3考室.xlsx");
    EXPECT_EQ(third[std::make_pair(1, 1)], "第3考室(10人)");
    EXPECT_EQ(third[std::make_pair(2, 1)], "1\n考生61\n20260061");
    EXPECT_EQ(third[std::make_pair(3, 1)], "2\n考生62\n20260062"); // vertical by default
    EXPECT_EQ(third[std::make_pair(7, 2)], "7\n考生67\n20260067");    // column 2 runs upwards
    EXPECT_EQ(third[std::make_pair(2, 3)], "\n\n");                // an empty seat keeps its line breaks

    const ProgressState end = m_tab.ksscpro.state();
    EXPECT_EQ(end.minimum, 1);
    EXPECT_EQ(end.maximum, 70);
    EXPECT_EQ(end.value, 70);
    EXPECT_TRUE(end.visible);
    EXPECT_EQ(end.status, kAllDone);
    EXPECT_EQ(lastStatusBefore(kAllDone), "正在生成第70位考生考室数据");
    EXPECT_EQ(result.seated, 70);
    EXPECT_EQ(result.workbooksWritten, 3);
}

TEST_F(GenerateArrangementTest, SecondRunReportsItsFirstSeatAtOnce)
{
    // The first run's closing text stays on the tab; the next run must not
    // keep showing it while it seats a first batch of examinees.
    storeExaminees(70);
    addRooms(3, ksmb());
    generate();
    m_progress.clear();
    generate();

    const auto firstNew = std::find_if(m_progress.begin(), m_progress.end(),
                                       [](const ProgressState& state) { return state.status != kAllDone; });
    ASSERT_NE(firstNew, m_progress.end());
    EXPECT_EQ(firstNew->status, "正在生成第1位考生考室数据");
    EXPECT_EQ(firstNew->value, 1);
}

TEST_F(GenerateArrangementTest, MoreExamineesThanSeats)
{
    storeExaminees(100);
    addRooms(3, ksmb());
    const auto result = generate();

    const std::string message = "还有10考生没指定考室，请重新设置考室参数再次生成！";
    EXPECT_EQ(result.outcome, Outcome::RoomsUsedUp);
    EXPECT_EQ(m_prompt.shown().back().text, message);
    EXPECT_EQ(m_prompt.shown().back().style, PromptStyle::Error);
    EXPECT_EQ(m_tab.ksscpro.state().status, message);
    EXPECT_EQ(m_tab.ksscpro.state().value, 90);
    const auto rows = placements();
    for (int i = 90; i < 100; ++i)
        EXPECT_EQ(rows[i], (Placement{"考生" + std::to_string(i + 1), "", ""}));
    EXPECT_EQ(rows[89].room, "第3考室");
    EXPECT_EQ(outputFiles().size(), 3u);
}

TEST_F(GenerateArrangementTest, ExamineesRunningOutAtTheLastSeatOfARoom)
{
    storeExaminees(60);
    addRooms(3, ksmb());
    EXPECT_EQ(generate().outcome, Outcome::Complete);
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"第1考室.xlsx", "第2考室.xlsx"}));
    EXPECT_EQ(m_prompt.texts().back(), kAllDone);
}

TEST_F(GenerateArrangementTest, EmptyRoomListHasNoTemplate)
{
    // The grid always keeps one data row; an empty list is one blank row.
    storeExaminees(5);
    EXPECT_EQ(generate().outcome, Outcome::TemplateMissing);
    EXPECT_EQ(m_prompt.texts().back(), "“”模板文件不存在！");
    EXPECT_TRUE(outputFiles().empty());
    EXPECT_EQ(placements()[0].room, "");
}

TEST_F(GenerateArrangementTest, MissingTemplateOfTheSecondRoom)
{
    storeExaminees(70);
    const std::string missing = m_dir.file("gone.xlsx");
    addRoom("第1考室", ksmb());
    addRoom("第2考室", missing);
    addRoom("第3考室", ksmb());
    EXPECT_EQ(generate().outcome, Outcome::TemplateMissing);

    const std::string message = "“" + missing + "”模板文件不存在！";
    EXPECT_EQ(m_prompt.texts(), (std::vector<std::string>{messages::kDoNotOperate, message}));
    EXPECT_EQ(m_tab.ksscpro.state().status, message);
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"第1考室.xlsx"});
    const auto rows = placements();
    EXPECT_EQ(rows[29].room, "第1考室");
    EXPECT_EQ(rows[30].room, "");
}

TEST_F(GenerateArrangementTest, RandomOrderRepeatsAndASecondRunReplacesTheFiles)
{
    storeExaminees(40);
    addRooms(2, ksmb());
    m_rooms.options.clickOrderingBox(4);
    generate();
    const auto first = placements();
    // Random numbers are count - i, so the last examinee comes first.
    EXPECT_EQ(first[39], (Placement{"考生40", "第1考室", "1"}));
    const auto firstRoom = readCells(m_out + "第1考室.xlsx");
    std::filesystem::remove(m_out + "第2考室.xlsx");
    std::filesystem::resize_file(m_out + "第1考室.xlsx", 0);

    generate();
    EXPECT_EQ(placements(), first);
    EXPECT_EQ(readCells(m_out + "第1考室.xlsx"), firstRoom);
    EXPECT_EQ(outputFiles().size(), 2u);
}

TEST_F(GenerateArrangementTest, NoOrderingTickedRebuildsThenFails)
{
    storeExaminees(5);
    addRooms(1, ksmb());
    m_rooms.options.clickOrderingBox(2); // unticks 成绩降序
    const auto result = generate();

    EXPECT_EQ(result.outcome, Outcome::Failed);
    ASSERT_EQ(m_prompt.shown().size(), 1u);
    EXPECT_EQ(m_prompt.shown()[0].headline(), messages::kNoExcel);
    EXPECT_EQ(m_prompt.shown()[0].causeText(), "原因：没有选择考生排序方式。");
    EXPECT_NE(m_prompt.shown()[0].detail.find("ordering"), std::string::npos);
    EXPECT_EQ(placements().size(), 5u); // the working copy was rebuilt
    EXPECT_TRUE(outputFiles().empty());
}

TEST_F(GenerateArrangementTest, BothFillBoxesUntickedFillsVertically)
{
    storeExaminees(2);
    addRooms(1, ksmb());
    m_rooms.options.clickFillBox(1);
    generate();
    Cells room = readCells(m_out + "第1考室.xlsx");
    EXPECT_EQ(room[std::make_pair(3, 1)], "2\n考生2\n20260002");

    m_rooms.options.clickFillBox(0); // horizontal
    generate();
    room = readCells(m_out + "第1考室.xlsx");
    EXPECT_EQ(room[std::make_pair(2, 2)], "2\n考生2\n20260002");
}

TEST_F(GenerateArrangementTest, OutputFolderTextIsTrimmedAndJoinedAsTypedUnlessItNamesAFolder)
{
    storeExaminees(3);
    addRooms(1, ksmb());
    m_tab.ksoutpath = "  " + m_dir.file("out") + "  "; // the output folder, typed without separator
    EXPECT_EQ(generate().outcome, Outcome::Complete);
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"第1考室.xlsx"});
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("out第1考室.xlsx")));

    m_tab.ksoutpath = "  " + m_dir.file("no folder") + "  ";
    EXPECT_EQ(generate().outcome, Outcome::Complete);
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("no folder第1考室.xlsx")));
}

TEST_F(GenerateArrangementTest, RoomNamedTwiceStopsBeforeAnythingIsWritten)
{
    storeExaminees(70);
    addRoom("第1考室", ksmb());
    addRoom("第2考室", ksmb());
    addRoom("第1考室", ksmb());
    const auto result = generate();

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(m_prompt.shown().back().headline(), messages::kNoExcel);
    EXPECT_EQ(result.cause.kind, CauseKind::DuplicateRoom);
    EXPECT_EQ(result.cause.room, "第1考室");
    EXPECT_TRUE(outputFiles().empty());
    for (const Placement& row : placements())
        EXPECT_EQ(row.room, "");
}

TEST_F(GenerateArrangementTest, RoomNameTooLongForAFileNameNamesTheRealCause)
{
    storeExaminees(3);
    std::string room;
    for (int i = 0; i < 90; ++i)
        room += "考室";
    addRoom(room, ksmb());
    const auto result = generate();

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.cause.kind, CauseKind::NotAFileName);
    EXPECT_NE(result.cause.detail.find("File name too long"), std::string::npos) << result.cause.detail;
    EXPECT_TRUE(outputFiles().empty());
}

TEST_F(GenerateArrangementTest, PreconditionsStopBeforeAnyWork)
{
    storeExaminees(3);
    addRooms(1, ksmb());
    m_tab.ksoutpath = "   ";
    EXPECT_EQ(generate().outcome, Outcome::NoOutputFolder);
    EXPECT_EQ(m_prompt.texts(), std::vector<std::string>{messages::kNoOutputFolder});
    EXPECT_TRUE(placements().empty()); // the working copy was not rebuilt
}

TEST_F(GenerateArrangementTest, NoBaseData)
{
    addRooms(1, ksmb());
    const auto result = generate();
    EXPECT_EQ(result.outcome, Outcome::NoBaseData);
    EXPECT_EQ(m_prompt.texts(), std::vector<std::string>{"基础数据没导入数据库，请先导入数据库设置好各考室参数后再生成！"});
}

TEST_F(GenerateArrangementTest, UnsafeRoomNameStopsBeforeItsRoom)
{
    storeExaminees(70);
    addRoom("第1考室", ksmb());
    addRoom("../第2考室", ksmb());
    addRoom("第3考室", ksmb());
    const auto result = generate();

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(m_prompt.shown().back().headline(), messages::kNoExcel);
    EXPECT_NE(m_prompt.shown().back().causeText().find("“../第2考室”不能用作文件名"), std::string::npos);
    EXPECT_NE(m_prompt.shown().back().detail.find("../第2考室"), std::string::npos);
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"第1考室.xlsx"});
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("第2考室.xlsx")));
    const auto rows = placements();
    EXPECT_EQ(rows[29].room, "第1考室");
    EXPECT_EQ(rows[30].room, "");
}

TEST_F(GenerateArrangementTest, TemplateNamedAfterItsRoomInTheOutputFolderIsNeverOverwritten)
{
    storeExaminees(40);
    std::filesystem::copy_file(ksmb(), m_out + "第2考室.xlsx");
    addRoom("第1考室", m_out + "第2考室.xlsx");
    addRoom("第2考室", ksmb());
    const auto result = generate();

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_NE(m_prompt.shown().back().detail.find("overwrite"), std::string::npos);
    EXPECT_EQ(readCells(m_out + "第2考室.xlsx")[std::make_pair(2, 1)], "座位号\n姓名\n考号");
    EXPECT_EQ(placements()[30].room, "");
}

TEST_F(GenerateArrangementTest, EmptyTemplateFailsAfterEarlierRoomsAreKept)
{
    storeExaminees(70);
    addRoom("第1考室", ksmb());
    addRoom("第2考室", makeTemplate(m_dir.file("empty"), {}));
    const auto result = generate();

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(m_prompt.headlines().back(), messages::kNoExcel);
    EXPECT_EQ(result.cause.kind, CauseKind::EmptySheet);
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"第1考室.xlsx"});
    EXPECT_EQ(placements()[29].room, "第1考室");
    EXPECT_EQ(m_tab.ksscpro.state().value, 30);
}

TEST_F(GenerateArrangementTest, UnreadableCellKeepsTheSeatsGivenBeforeIt)
{
    storeExaminees(40);
    addRoom("第1考室", ksmb());
    addRoom("第2考室", fixturePath("arrange-error-cell.xlsx"));
    m_rooms.options.clickFillBox(0);
    EXPECT_EQ(generate().outcome, Outcome::Failed);
    const auto rows = placements();
    EXPECT_EQ(rows[31], (Placement{"考生32", "第2考室", "2"}));
    EXPECT_EQ(rows[32].room, "");
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"第1考室.xlsx"});
}

TEST_F(GenerateArrangementTest, FailureWhileSavingLeavesNoLaterRoomBehind)
{
    storeExaminees(180);
    addRooms(6, ksmb());
    // A folder where room 3's workbook should go: its save fails.
    std::filesystem::create_directories(m_out + "第3考室.xlsx/inside");
    const auto result = generate(4);

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"第1考室.xlsx", "第2考室.xlsx", "第3考室.xlsx"}));
    EXPECT_TRUE(std::filesystem::is_directory(m_out + "第3考室.xlsx"));
    const auto rows = placements();
    EXPECT_EQ(rows[89], (Placement{"考生90", "第3考室", "30"})); // its seats were given before the save
    EXPECT_EQ(rows[90].room, "");
}

TEST_F(GenerateArrangementTest, MissingOutputFolderFailsAtTheFirstSave)
{
    storeExaminees(40);
    addRooms(2, ksmb());
    m_tab.ksoutpath = m_dir.file("nowhere") + "/";
    EXPECT_EQ(generate().outcome, Outcome::Failed);
    const auto rows = placements();
    EXPECT_EQ(rows[29].room, "第1考室");
    EXPECT_EQ(rows[30].room, "");
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("nowhere")));
}

TEST_F(GenerateArrangementTest, FailureWritingTheRowsOfARoomLeavesNoHiddenFileBehind)
{
    storeExaminees(180);
    addRooms(6, ksmb());
    // The progress shown at examinee 100 (room 4) fails, as a database write could.
    bool failed = false;
    m_tab.ksscpro.setListener([&failed](const ProgressState& state) {
        if (!failed && state.status == "正在生成第100位考生考室数据") {
            failed = true;
            throw std::runtime_error("write refused");
        }
    });
    const auto result = generate(4);

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.cause.detail, "write refused");
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"第1考室.xlsx", "第2考室.xlsx", "第3考室.xlsx"}));
    EXPECT_EQ(placements()[89].room, "第3考室");
}

} // namespace
} // namespace sedilo::test
