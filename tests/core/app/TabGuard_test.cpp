#include <gtest/gtest.h>

#include <filesystem>

#include "app/TabGuard.h"
#include "SessionTestDatabase.h"
#include "support/ScriptedPrompt.h"

using namespace sedilo;
using session::TabGuard;

namespace {

const std::string kSelectBase = "select * from jcdata";
const std::string kByScoreDesc = "select * from jcdatatp order by 成绩 desc";

class TabGuardTest : public ::testing::Test {
protected:
    void addRoom(const std::string& name) { ksgrid.setTextMatrix(1, 0, name); }

    // Runs the guard for `index` and returns (index selected instead, messages shown).
    std::optional<int> enter(int index)
    {
        prompt.clear();
        db.statements.clear();
        auto redirect = guard.TabChanged(index);
        EXPECT_FALSE(db.database.SharedConnection().isOpen()) << "the guard leaves the connection closed";
        return redirect;
    }

    std::vector<std::string> messages() const { return prompt.texts(); }

    test::SessionTestDatabase db;
    rooms::RoomGrid ksgrid;
    rooms::ArrangementOptions options;
    test::ScriptedPrompt prompt;
    ProgressControl ksscpro;
    ProgressControl cxdcscpro;
    TabGuard guard{db.database, ksgrid, options, prompt, ksscpro, cxdcscpro};
};

TEST_F(TabGuardTest, FirstTabIsNeverRefusedAndTouchesNothing)
{
    EXPECT_EQ(enter(0), std::nullopt);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(db.statements.empty());
}

TEST_F(TabGuardTest, WithoutBaseDataEveryLaterTabSendsBackToTheFirst)
{
    for (int tab : {1, 2, 3}) {
        addRoom("第1考室");
        EXPECT_EQ(enter(tab), 0) << tab;
        EXPECT_EQ(messages(), std::vector<std::string>{"基础数据没导入，请先导入基础数据！"});
        EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
        EXPECT_EQ(db.statements, std::vector<std::string>{kSelectBase});
    }
}

TEST_F(TabGuardTest, RoomTabNeedsOnlyBaseData)
{
    db.addBaseData({{"1001", 90}});
    EXPECT_EQ(enter(1), std::nullopt);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(db.statements, std::vector<std::string>{kSelectBase});
}

TEST_F(TabGuardTest, GenerationTabNeedsARoomAndBlankNamesDoNotCount)
{
    db.addBaseData({{"1001", 90}});
    for (const std::string name : {"", "   "}) {
        ksgrid.setTextMatrix(1, 0, name);
        ksgrid.setTextMatrix(1, 1, "/tmp/模板.xlsx");
        EXPECT_EQ(enter(2), 1);
        EXPECT_EQ(messages(), std::vector<std::string>{"没设置考室参数，请先设置考室参数！"});
    }
    EXPECT_TRUE(ksscpro.state().visible);

    addRoom(" 第1考室 ");
    EXPECT_EQ(enter(2), std::nullopt);
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(ksscpro.state().visible);
    EXPECT_TRUE(cxdcscpro.state().visible);
    EXPECT_EQ(db.statements, std::vector<std::string>{kSelectBase});
}

TEST_F(TabGuardTest, ExportTabWithoutRoomsShowsTheRoomMessageNotTheGenerationOne)
{
    db.addBaseData({{"1001", 90}});
    EXPECT_EQ(enter(3), 1);
    EXPECT_EQ(messages(), std::vector<std::string>{"没设置考室参数，请先设置考室参数！"});
}

TEST_F(TabGuardTest, ExportTabNeedsAGeneratedArrangement)
{
    db.addBaseData({{"1001", 90}, {"1002", 80}});
    addRoom("第1考室");
    EXPECT_EQ(enter(3), 2); // working copy empty, as after every start
    EXPECT_EQ(messages(), std::vector<std::string>{"没生成考室编排表，请先生成考室编排表！"});
    EXPECT_EQ(db.statements, (std::vector<std::string>{kSelectBase, kByScoreDesc}));
    EXPECT_TRUE(cxdcscpro.state().visible);

    db.addWorkingCopy({{"1001", 90}, {"1002", 80}}, {"第1考室", "第1考室"});
    EXPECT_EQ(enter(3), std::nullopt);
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(cxdcscpro.state().visible);
    EXPECT_TRUE(ksscpro.state().visible) << "only the export tab's progress is hidden";
}

TEST_F(TabGuardTest, ArrangementCheckLooksAtTheFirstExamineeInTheChosenOrder)
{
    db.addBaseData({{"1001", 90}, {"1002", 80}});
    addRoom("第1考室");
    // The best score has a room, the lowest none (rooms ran out).
    db.addWorkingCopy({{"1001", 90}, {"1002", 80}}, {"第1考室", "  "});
    EXPECT_EQ(enter(3), std::nullopt);

    options.clickOrderingBox(3); // 成绩升序
    EXPECT_EQ(enter(3), 2);
    EXPECT_EQ(messages(), std::vector<std::string>{"没生成考室编排表，请先生成考室编排表！"});
    EXPECT_EQ(db.statements.back(), "select * from jcdatatp order by 成绩 asc");
}

TEST_F(TabGuardTest, NoOrderingBoxTickedCountsAsNotGenerated)
{
    db.addBaseData({{"1001", 90}});
    addRoom("第1考室");
    db.addWorkingCopy({{"1001", 90}}, {"第1考室"});
    options.clickOrderingBox(2); // unticks 成绩降序, the only ticked box
    ASSERT_FALSE(options.ordering());

    EXPECT_EQ(enter(3), 2);
    EXPECT_EQ(messages(), std::vector<std::string>{"没生成考室编排表，请先生成考室编排表！"});
    EXPECT_EQ(db.statements, std::vector<std::string>{kSelectBase});
}

TEST(TabGuardFailureTest, UnusableDatabaseIsReportedAndSendsBackWithoutThrowing)
{
    test::TempDir folder;
    const std::string path = folder.file("data.mdb");
    std::filesystem::create_directory(path);
    store::SeatingDatabase database(path);
    rooms::RoomGrid ksgrid;
    ksgrid.setTextMatrix(1, 0, "第1考室");
    rooms::ArrangementOptions options;
    test::ScriptedPrompt prompt;
    ProgressControl ksscpro;
    ProgressControl cxdcscpro;
    TabGuard guard(database, ksgrid, options, prompt, ksscpro, cxdcscpro);

    for (int tab : {1, 2, 3}) {
        prompt.clear();
        std::optional<int> redirect;
        EXPECT_NO_THROW(redirect = guard.TabChanged(tab));
        EXPECT_EQ(redirect, 0);
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
        EXPECT_NE(prompt.shown()[0].text.find(path), std::string::npos);
    }
    EXPECT_TRUE(ksscpro.state().visible);
    EXPECT_TRUE(cxdcscpro.state().visible);
}

} // namespace
