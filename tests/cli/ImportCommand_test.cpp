#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "store/SeatingDatabase.h"
#include "store/Statements.h"
#include "support/TempDir.h"

using sedilo::test::fixturePath;
using sedilo::test::TempDir;

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliRun runCli(const TempDir& dir, const std::vector<std::string>& args)
{
    const char* cli = std::getenv("SEDILO_CLI");
    if (!cli)
        throw std::runtime_error("SEDILO_CLI is not set (run the tests through ctest)");
    std::string command = quoted(cli);
    for (const auto& arg : args)
        command += " " + quoted(arg);
    command += " >" + quoted(dir.file("out.txt")) + " 2>" + quoted(dir.file("err.txt"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir.file("out.txt")), slurp(dir.file("err.txt"))};
}

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
    const CliRun run = runCli(dir, {"import", "--db", db, fixturePath("basedata-examinees.xlsx"), "--seed", "7"});

    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "imported 3 examinees\n");
    const auto rows = baseData(db);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].first, "20140001");

    // The same seed draws the same random numbers.
    const std::string other = dir.file("other.mdb");
    ASSERT_EQ(runCli(dir, {"import", "--seed", "7", "--db", other, fixturePath("basedata-examinees.xlsx")}).exitCode, 0);
    EXPECT_EQ(baseData(other), rows);
}

TEST(ImportCommand, FailureExitsWithCauseAndKeepsBaseData)
{
    TempDir dir;
    const std::string db = dir.file("data.mdb");
    ASSERT_EQ(runCli(dir, {"import", "--db", db, fixturePath("basedata-examinees.xlsx")}).exitCode, 0);
    const auto before = baseData(db);

    const CliRun run = runCli(dir, {"import", "--db", db, fixturePath("basedata-error-row50.xlsx")});

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("基础数据导入失败！"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("row 50, column D"), std::string::npos) << run.err;
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
        const CliRun run = runCli(dir, args);
        EXPECT_EQ(run.exitCode, 2) << args.size() << ": " << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("data.mdb")));
}
