#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "store/SeatingDatabase.h"
#include "store/Statements.h"
#include "support/TempDir.h"

using sedilo::test::CliRun;
using sedilo::test::fixturePath;
using sedilo::test::runCli;
using sedilo::test::TempDir;

namespace {

// 考号 and 随机号 of every row of jcdata.
std::vector<std::pair<std::string, std::string>> baseData(const std::string& databaseFile)
{
    sedilo::store::SeatingDatabase database(databaseFile);
    database.OpenDataConnection();
    auto& records = database.SharedRecordset();
    records.open(sedilo::store::sql::kSelectBaseData, database.SharedConnection());
    std::vector<std::pair<std::string, std::string>> rows;
    for (; !records.atEnd(); records.moveNext())
        rows.emplace_back(records.text("考号"), records.text("随机号"));
    database.closeAll();
    return rows;
}

} // namespace

TEST(ImportCommand, ImportsAndReportsTheCount)
{
    TempDir dir;
    const std::string db = dir.file("data.mdb");
    const CliRun run =
        runCli(dir.path().string(), {"import", "--db", db, fixturePath("basedata-examinees.xlsx"), "--seed", "7"});

    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "imported 3 examinees\n");
    const auto rows = baseData(db);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].first, "20140001");

    // The same seed draws the same random numbers.
    const std::string other = dir.file("other.mdb");
    const std::vector<std::string> reordered{"import", "--seed", "7", "--db", other, fixturePath("basedata-examinees.xlsx")};
    ASSERT_EQ(runCli(dir.path().string(), reordered).exitCode, 0);
    EXPECT_EQ(baseData(other), rows);
}

TEST(ImportCommand, FailureExitsWithCauseAndKeepsBaseData)
{
    TempDir dir;
    const std::string db = dir.file("data.mdb");
    ASSERT_EQ(runCli(dir.path().string(), {"import", "--db", db, fixturePath("basedata-examinees.xlsx")}).exitCode, 0);
    const auto before = baseData(db);

    const CliRun run = runCli(dir.path().string(), {"import", "--db", db, fixturePath("basedata-error-row50.xlsx")});

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("基础数据导入失败！"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("基础数据导入失败！\n原因：工作簿“" + fixturePath("basedata-error-row50.xlsx") + "”第50行D列"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("#N/A"), std::string::npos) << run.err;
    EXPECT_EQ(baseData(db), before);
}

TEST(ImportCommand, UsageErrorsExitWithTwo)
{
    TempDir dir;
    const std::string book = fixturePath("basedata-examinees.xlsx");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"import"},
             {"import", book},
             {"import", "--db", dir.file("data.mdb")},
             {"import", "--db", dir.file("data.mdb"), book, "--seed", "x7"},
             {"import", "--db", dir.file("data.mdb"), book, "--seed"},
             {"import", "--db", dir.file("data.mdb"), book, book},
             {"import", "--db", dir.file("data.mdb"), book, "--fast"},
         }) {
        const CliRun run = runCli(dir.path().string(), args);
        EXPECT_EQ(run.exitCode, 2) << args.size() << ": " << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("data.mdb")));
}
