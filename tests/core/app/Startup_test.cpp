#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sqlite3.h>

#include "app/Startup.h"
#include "app/TabGuard.h"
#include "SessionTestDatabase.h"
#include "support/ScriptedPrompt.h"

using namespace sedilo;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.addBaseData({{"1001", 95}, {"1002", 88}});
        db.addWorkingCopy({{"1001", 95}}, {"第1考室"});
    }

    test::SessionTestDatabase db;
    test::ScriptedPrompt prompt;
    cipher::NameCipher cipher{prompt};
};

TEST_F(StartupTest, YesClearsTheBaseDataAndTheWorkingCopy)
{
    prompt.answerNext(PromptAnswer::Yes);
    session::RunStartup(db.database, prompt, cipher);

    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::QuestionDefaultNo);
    EXPECT_EQ(prompt.shown()[0].text, "是否清空上次保留的基础数据？");
    EXPECT_TRUE(db.onDisk("select * from jcdata").empty());
    EXPECT_TRUE(db.onDisk("select * from jcdatatp").empty());
    EXPECT_EQ(db.statements, (std::vector<std::string>{"delete from jcdata", "delete from jcdatatp"}));
    EXPECT_FALSE(db.database.SharedConnection().isOpen());
    EXPECT_EQ(cipher.passPhrase(), "qzrmt51730@862");
}

TEST_F(StartupTest, NoKeepsTheBaseDataButEmptiesTheWorkingCopy)
{
    prompt.answerNext(PromptAnswer::No);
    session::RunStartup(db.database, prompt, cipher);

    EXPECT_EQ(db.onDisk("select 考号 from jcdata").size(), 2u);
    EXPECT_TRUE(db.onDisk("select * from jcdatatp").empty());
    EXPECT_EQ(db.statements, (std::vector<std::string>{"delete from jcdatatp"}));
    EXPECT_FALSE(db.database.SharedConnection().isOpen());
    EXPECT_EQ(cipher.passPhrase(), "qzrmt51730@862");
}

TEST_F(StartupTest, AFailedStartNeverLetsLastRunsArrangementThrough)
{
    // Another program holds a write lock: reading works, emptying does not.
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(db.database.filePath().c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    prompt.answerNext(PromptAnswer::No);
    session::RunStartup(db.database, prompt, cipher);
    ASSERT_EQ(prompt.shown().back().style, PromptStyle::Error);

    rooms::RoomGrid ksgrid;
    ksgrid.setTextMatrix(1, 0, "第1考室");
    rooms::ArrangementOptions options;
    ProgressControl ksscpro;
    ProgressControl cxdcscpro;
    session::TabGuard guard(db.database, ksgrid, options, prompt, ksscpro, cxdcscpro);
    EXPECT_EQ(guard.TabChanged(session::kExportTabIndex), session::kGenerateTabIndex);
    EXPECT_EQ(prompt.texts().back(), session::kNoArrangement);
    EXPECT_EQ(db.onDisk("select 考室 from jcdatatp"), std::vector<std::string>{"第1考室"});

    // The next action that opens the database empties it.
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(guard.TabChanged(session::kExportTabIndex), session::kGenerateTabIndex);
    EXPECT_TRUE(db.onDisk("select * from jcdatatp").empty());
}

TEST(StartupFailureTest, UnusableDatabaseIsReportedAndTheCipherStillGetsItsPassPhrase)
{
    test::TempDir folder;
    const std::string directory = folder.file("data.mdb");
    std::filesystem::create_directory(directory);
    const std::string garbage = folder.file("garbage.mdb");
    std::ofstream(garbage) << "this is not a database file at all, just some text long enough to have a header";

    for (const std::string& path : {directory, garbage}) {
        store::SeatingDatabase database(path);
        test::ScriptedPrompt prompt;
        cipher::NameCipher cipher(prompt);
        prompt.answerNext(PromptAnswer::Yes);
        EXPECT_NO_THROW(session::RunStartup(database, prompt, cipher));

        ASSERT_FALSE(prompt.shown().empty()) << path;
        const auto& box = prompt.shown().back();
        EXPECT_EQ(box.style, PromptStyle::Error);
        EXPECT_NE(box.text.find(path), std::string::npos) << box.text;
        EXPECT_FALSE(box.detail.empty());
        EXPECT_NE(box.text.find(box.detail), std::string::npos) << "the cause is in the message itself";
        EXPECT_EQ(cipher.passPhrase(), "qzrmt51730@862");
    }
    // Nothing was deleted or overwritten in the file that is not a database.
    std::ifstream in(garbage);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content.rfind("this is not a database", 0), 0u);
}

} // namespace
