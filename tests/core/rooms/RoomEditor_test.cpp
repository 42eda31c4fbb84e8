#include <gtest/gtest.h>

#include <fstream>

#include "rooms/RoomEditor.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;
using namespace sedilo::rooms;

namespace {

constexpr const char* kNotSet = "考室名称、考室模板没设置！";
constexpr const char* kNoRoom = "没选择考室！";

class RoomEditorTest : public ::testing::Test {
protected:
    void SetUp() override { writeRoomGridHeaders(tab.ksgrid); }

    void add(const std::string& name, const std::string& path)
    {
        tab.ksname = name;
        tab.ksmbpath = path;
        AddRoom(tab, prompt);
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (int row = 1; row < tab.ksgrid.Rows(); ++row)
            out.push_back(tab.ksgrid.TextMatrix(row, 0));
        return out;
    }

    RoomsTab tab;
    test::ScriptedPrompt prompt;
    test::ScriptedDialogs dialogs;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(RoomEditorTest, AddingFillsTheBlankRowThenAppendsWithSuggestionsAndCounts)
{
    EXPECT_EQ(tab.kstjstr, "当前共有0考室");
    add("第1考室", "/t/a.xlsx");
    EXPECT_EQ(tab.ksgrid.Rows(), 2);
    EXPECT_EQ(tab.ksgrid.TextMatrix(1, 1), "/t/a.xlsx");
    EXPECT_EQ(tab.ksname, "第2考室");
    EXPECT_EQ(tab.ksmbpath, "/t/a.xlsx") << "the path stays for the next room";
    EXPECT_EQ(tab.kstjstr, "当前共有1间考室");

    add("第2考室", "/t/a.xlsx");
    EXPECT_EQ(tab.ksgrid.Rows(), 3);
    EXPECT_EQ(names(), (Names{"第1考室", "第2考室"}));
    EXPECT_EQ(tab.ksname, "第3考室");
    EXPECT_EQ(tab.kstjstr, "当前共有2间考室");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(RoomEditorTest, SuggestionComesFromTheRowCountNotTheEnteredName)
{
    add("  物理实验室 ", "  /t/a.xlsx ");
    EXPECT_EQ(tab.ksgrid.TextMatrix(1, 0), "物理实验室") << "stored trimmed";
    EXPECT_EQ(tab.ksgrid.TextMatrix(1, 1), "/t/a.xlsx");
    EXPECT_EQ(tab.ksname, "第2考室");
}

TEST_F(RoomEditorTest, DuplicateNameIsRefusedAndLeavesEverythingAsBefore)
{
    add("第1考室", "/t/a.xlsx");
    add("第2考室", "/t/b.xlsx");
    tab.ksname = "  第1考室  ";
    tab.ksmbpath = "/t/c.xlsx";
    const std::string countBefore = tab.kstjstr;

    AddRoom(tab, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].text, "\"第1考室\"考室已经存在!");
    EXPECT_EQ(tab.ksgrid.Rows(), 3) << "the row appended for the new room is gone again";
    EXPECT_EQ(names(), (Names{"第1考室", "第2考室"}));
    EXPECT_EQ(tab.ksname, "  第1考室  ");
    EXPECT_EQ(tab.ksmbpath, "/t/c.xlsx");
    EXPECT_EQ(tab.kstjstr, countBefore);
}

TEST_F(RoomEditorTest, CaseAndIdeographicSpaceMakeDifferentRooms)
{
    add("Room A", "/t/a.xlsx");
    add("room a", "/t/a.xlsx");
    add("Room A\u3000", "/t/a.xlsx");
    add("\u3000Room A", "/t/a.xlsx");
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(names(), (Names{"Room A", "room a", "Room A\u3000", "\u3000Room A"}));
}

// A batch leaves what one AddRoom after another leaves, and stops where
// AddRoom would refuse: on a fresh grid, on a filled one, and at a gap.
TEST_F(RoomEditorTest, AddingAListEqualsAddingEachUntilARefusal)
{
    const std::vector<std::pair<std::string, std::string>> list{
        {" 一 ", " a.xlsx "}, {"二", "b.xlsx"}, {"一", "c.xlsx"}, {"三", "d.xlsx"}};
    RoomsTab each;
    writeRoomGridHeaders(each.ksgrid);
    for (int start : {0, 1}) {
        const std::vector<std::pair<std::string, std::string>> part{list[start]};
        for (const auto& [name, path] : part) {
            each.ksname = name;
            each.ksmbpath = path;
            AddRoom(each, prompt);
        }
        EXPECT_EQ(AddRooms(tab, part), part.size());
    }
    EXPECT_EQ(AddRooms(tab, {list[2], list[3]}), 0u);
    for (int row = 0; row < each.ksgrid.Rows(); ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_EQ(tab.ksgrid.TextMatrix(row, column), each.ksgrid.TextMatrix(row, column));
    EXPECT_EQ(tab.ksgrid.Rows(), each.ksgrid.Rows());
    EXPECT_EQ(tab.ksname, each.ksname);
    EXPECT_EQ(tab.ksmbpath, each.ksmbpath);
    EXPECT_EQ(tab.kstjstr, each.kstjstr);

    tab.ksgrid.setTextMatrix(1, 0, " ");
    EXPECT_EQ(AddRooms(tab, {list[3]}), 0u);
}

TEST_F(RoomEditorTest, BlankNameOrEmptyPathChangesNothing)
{
    add("第1考室", "/t/a.xlsx");
    for (const auto& [name, path] : std::vector<std::pair<std::string, std::string>>{
             {"   ", "/t/b.xlsx"}, {"第2考室", ""}, {"第2考室", "   "}, {"", ""}}) {
        prompt.clear();
        add(name, path);
        ASSERT_EQ(prompt.texts(), (Names{kNotSet})) << "name '" << name << "' path '" << path << "'";
        EXPECT_EQ(tab.ksgrid.Rows(), 2);
        EXPECT_EQ(names(), (Names{"第1考室"}));
        EXPECT_EQ(tab.ksname, name);
        EXPECT_EQ(tab.kstjstr, "当前共有1间考室");
    }
}

TEST_F(RoomEditorTest, MissingTemplateFileIsAcceptedWithoutComplaint)
{
    add("第1考室", "/nowhere/at/all.xlsx");
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(tab.ksgrid.TextMatrix(1, 1), "/nowhere/at/all.xlsx");
    EXPECT_EQ(tab.ksgrid.cellColor(1, 1), RoomGrid::kDefaultColor);
}

TEST_F(RoomEditorTest, DeletingTheOnlyRoomKeepsOneClearedBlankRow)
{
    add("第1考室", "/t/a.xlsx");
    tab.ksgrid.setRow(1);
    tab.ksgrid.setCol(1);
    tab.ksgrid.setCurrentCellColor(0xFF0000); // as a load marks a missing template
    DeleteRoom(tab, prompt);
    EXPECT_EQ(tab.ksgrid.Rows(), 2);
    EXPECT_TRUE(tab.ksgrid.isBlankRow(1));
    EXPECT_EQ(tab.ksgrid.TextMatrix(1, 1), "");
    EXPECT_EQ(tab.kstjstr, "当前共有0间考室");
    EXPECT_TRUE(prompt.shown().empty());

    add("第9考室", "/t/a.xlsx");
    EXPECT_EQ(tab.ksgrid.cellColor(1, 1), RoomGrid::kDefaultColor)
        << "a new room must not inherit the red mark of the deleted one";
}

TEST_F(RoomEditorTest, DeletingRemovesTheCurrentRowAndRefreshesTheCount)
{
    add("A", "/t/a.xlsx");
    add("B", "/t/a.xlsx");
    add("C", "/t/a.xlsx");
    tab.ksgrid.setRow(2);
    DeleteRoom(tab, prompt);
    EXPECT_EQ(names(), (Names{"A", "C"}));
    EXPECT_EQ(tab.kstjstr, "当前共有2间考室");
    tab.ksgrid.setRow(1);
    DeleteRoom(tab, prompt);
    EXPECT_EQ(names(), (Names{"C"}));
    EXPECT_EQ(tab.kstjstr, "当前共有1间考室");
}

TEST_F(RoomEditorTest, DeletingWithABlankCurrentRowOnlyRefreshesTheCount)
{
    tab.ksgrid.setRow(1);
    DeleteRoom(tab, prompt);
    EXPECT_EQ(tab.ksgrid.Rows(), 2);
    EXPECT_EQ(tab.kstjstr, "当前共有0间考室") << "the start-up text becomes the counted one";
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(RoomEditorTest, ModifyAndDeleteWithoutCurrentRowAreRefused)
{
    add("A", "/t/a.xlsx");
    ASSERT_LT(tab.ksgrid.Row(), 1);
    tab.ksname = "B";
    ModifyRoom(tab, prompt);
    DeleteRoom(tab, prompt);
    EXPECT_EQ(prompt.texts(), (Names{kNoRoom, kNoRoom}));
    EXPECT_EQ(names(), (Names{"A"}));
}

TEST_F(RoomEditorTest, ModifyOnTheBlankRowWritesARoomButKeepsTheCountText)
{
    tab.ksgrid.setRow(1);
    tab.ksname = " 第5考室 ";
    tab.ksmbpath = " /t/e.xlsx ";
    ModifyRoom(tab, prompt);
    EXPECT_EQ(tab.ksgrid.TextMatrix(1, 0), "第5考室");
    EXPECT_EQ(tab.ksgrid.TextMatrix(1, 1), "/t/e.xlsx");
    EXPECT_EQ(tab.kstjstr, "当前共有0考室");
    EXPECT_EQ(tab.ksname, " 第5考室 ") << "no new suggestion";
}

TEST_F(RoomEditorTest, ModifyAllowsADuplicateNameAndKeepsColours)
{
    add("A", "/t/a.xlsx");
    add("B", "/t/b.xlsx");
    tab.ksgrid.setRow(2);
    tab.ksgrid.setCol(1);
    tab.ksgrid.setCurrentCellColor(0xFF0000);
    tab.ksname = "A";
    tab.ksmbpath = "/t/c.xlsx";
    ModifyRoom(tab, prompt);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(names(), (Names{"A", "A"}));
    EXPECT_EQ(tab.ksgrid.TextMatrix(2, 1), "/t/c.xlsx");
    EXPECT_EQ(tab.ksgrid.cellColor(2, 1), 0xFF0000u);

    tab.ksmbpath = " ";
    ModifyRoom(tab, prompt);
    EXPECT_EQ(prompt.texts(), (Names{kNotSet}));
    EXPECT_EQ(tab.ksgrid.TextMatrix(2, 1), "/t/c.xlsx");
}

TEST_F(RoomEditorTest, SelectingCopiesTheTrimmedRoomAndIgnoresBlankRows)
{
    tab.ksgrid.setRows(3);
    tab.ksgrid.setTextMatrix(1, 0, " 第1考室 ");
    tab.ksgrid.setTextMatrix(1, 1, " /t/a.xlsx ");
    tab.ksgrid.setTextMatrix(2, 0, "  ");
    tab.ksgrid.setTextMatrix(2, 1, "/t/ghost.xlsx");
    tab.ksname = "typed";
    tab.ksmbpath = "typed path";

    tab.ksgrid.setRow(2);
    SelectRoom(tab);
    EXPECT_EQ(tab.ksname, "typed");
    EXPECT_EQ(tab.ksmbpath, "typed path");

    tab.ksgrid.setRow(1);
    SelectRoom(tab);
    EXPECT_EQ(tab.ksname, "第1考室");
    EXPECT_EQ(tab.ksmbpath, "/t/a.xlsx");
}

TEST_F(RoomEditorTest, OpeningTheBlankRowOfAnEmptyListNamesAnEmptyPath)
{
    tab.ksgrid.setRow(1);
    OpenRoomTemplate(tab, dialogs, prompt);
    EXPECT_EQ(prompt.texts(), (Names{"“”模板文件不存在！"}));
    EXPECT_TRUE(dialogs.openedDocuments.empty());
}

TEST_F(RoomEditorTest, OpeningATemplateTestsTheUntrimmedPathThenHandsItToTheDesktop)
{
    test::TempDir folder;
    const std::string path = folder.file("考场 模板.xlsx");
    std::ofstream(path) << "x";
    add("A", path);
    tab.ksgrid.setRow(1);

    OpenRoomTemplate(tab, dialogs, prompt);
    EXPECT_EQ(dialogs.openedDocuments, (Names{path}));
    EXPECT_TRUE(prompt.shown().empty());

    tab.ksgrid.setTextMatrix(1, 1, path + " ");
    OpenRoomTemplate(tab, dialogs, prompt);
    EXPECT_EQ(prompt.texts(), (Names{"“" + path + " ”模板文件不存在！"}));

    prompt.clear();
    tab.ksgrid.setTextMatrix(1, 1, folder.path().string());
    OpenRoomTemplate(tab, dialogs, prompt);
    EXPECT_EQ(prompt.texts(), (Names{"“" + folder.path().string() + "”模板文件不存在！"})) << "a folder is no template";
    EXPECT_EQ(dialogs.openedDocuments.size(), 1u);
}

TEST_F(RoomEditorTest, BlankRowWithAnExistingPathOpensNothingSilently)
{
    test::TempDir folder;
    const std::string path = folder.file("a.xlsx");
    std::ofstream(path) << "x";
    tab.ksgrid.setTextMatrix(1, 0, "  ");
    tab.ksgrid.setTextMatrix(1, 1, path);
    tab.ksgrid.setRow(1);
    OpenRoomTemplate(tab, dialogs, prompt);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_TRUE(dialogs.openedDocuments.empty());
}

TEST_F(RoomEditorTest, NoApplicationForTheTemplateGivesTheExcelMessageWithACause)
{
    test::TempDir folder;
    const std::string path = folder.file("a.xlsx");
    std::ofstream(path) << "x";
    add("A", path);
    tab.ksgrid.setRow(1);
    dialogs.setCanOpenDocuments(false);
    OpenRoomTemplate(tab, dialogs, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].text, "你的电脑可能没安装完整版的Excel！\n原因：桌面没有能打开“" + path +
                                          "”的程序（没有找到xdg-open）。");
}

TEST_F(RoomEditorTest, ChoosingATemplateTrimsAndCancellingEmptiesThePath)
{
    tab.ksmbpath = "/t/old.xlsx";
    dialogs.nextFile("  /t/new.xlsx ");
    ChooseRoomTemplate(tab, dialogs);
    EXPECT_EQ(tab.ksmbpath, "/t/new.xlsx");
    EXPECT_EQ(dialogs.titles, (Names{"选择Excel模板文件"}));

    ChooseRoomTemplate(tab, dialogs); // nothing scripted: cancelled
    EXPECT_EQ(tab.ksmbpath, "");
}

TEST_F(RoomEditorTest, ClearingAsksAndOnYesLeavesOneBlankRowWithHeaders)
{
    add("A", "/t/a.xlsx");
    add("B", "/t/a.xlsx");
    tab.ksgrid.setRow(2);
    tab.ksgrid.setCol(1);
    tab.ksgrid.setCurrentCellColor(0xFF0000);

    prompt.answerNext(PromptAnswer::No);
    ClearRooms(tab, prompt);
    EXPECT_EQ(names(), (Names{"A", "B"}));
    EXPECT_EQ(tab.kstjstr, "当前共有2间考室");

    prompt.answerNext(PromptAnswer::Yes);
    ClearRooms(tab, prompt);
    ASSERT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(prompt.shown()[1].style, PromptStyle::QuestionDefaultNo);
    EXPECT_EQ(prompt.shown()[1].text, "确实要清空列表吗?");
    EXPECT_EQ(tab.ksgrid.Rows(), 2);
    EXPECT_TRUE(tab.ksgrid.isBlankRow(1));
    EXPECT_EQ(tab.ksgrid.TextMatrix(0, 0), "考室名称");
    EXPECT_EQ(tab.ksgrid.TextMatrix(0, 1), "考室模板文件");
    EXPECT_EQ(tab.ksgrid.cellColor(1, 1), RoomGrid::kDefaultColor);
    EXPECT_EQ(tab.kstjstr, "当前共有0间考室");
    EXPECT_EQ(tab.ksname, "第3考室") << "the last suggestion stays";

    add("C", "/t/a.xlsx");
    EXPECT_EQ(names(), (Names{"C"}));
}
