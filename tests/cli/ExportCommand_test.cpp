#include <gtest/gtest.h>

#include <filesystem>

#include "CliRunner.h"
#include "services/workbook/Workbook.h"
#include "store/SeatingDatabase.h"
#include "store/Statements.h"
#include "support/TempDir.h"

using namespace sedilo;
namespace fs = std::filesystem;

namespace {

class ExportCommandTest : public ::testing::Test {
protected:
    // Seated examinees (name, unit, room); the database is written before each run.
    void addExaminee(const std::string& name, const std::string& unit, const std::string& room)
    {
        m_examinees.push_back({name, unit, room});
    }

    test::CliRun run(const std::vector<std::string>& args)
    {
        writeDatabase();
        return test::runCli(m_dir.path().string(), args);
    }

    std::string databaseFile() const { return m_dir.file("data.mdb"); }
    std::string outFolder() const { return m_dir.file("out"); }

    static std::vector<std::string> column(const fs::path& file, int columnNumber)
    {
        const auto book = workbook::Workbook::open(file.string());
        std::vector<std::string> values;
        for (int row = 1; row <= book->firstSheet().lastRow(); ++row)
            values.push_back(book->firstSheet().cellText(row, columnNumber));
        return values;
    }

    test::TempDir m_dir;

private:
    void writeDatabase()
    {
        if (m_written)
            return;
        m_written = true;
        store::SeatingDatabase database(databaseFile());
        database.replaceSharedRecordset();
        database.OpenDataConnection();
        store::Recordset& rows = database.SharedRecordset();
        rows.open(store::sql::kSelectWorkingCopy, database.SharedConnection());
        int number = 0;
        for (const auto& [name, unit, room] : m_examinees) {
            rows.addNew();
            rows.setValue("姓名", name);
            rows.setValue("考号", std::to_string(++number));
            rows.setValue("单位", unit);
            rows.setValue("成绩", std::string("0"));
            rows.setValue("随机号", double(number));
            rows.setValue("考室", room);
            rows.setValue("座位号", std::to_string(number));
            rows.update();
        }
        database.closeAll();
    }

    struct Row {
        std::string name, unit, room;
    };
    std::vector<Row> m_examinees;
    bool m_written = false;
};

} // namespace

TEST_F(ExportCommandTest, ExportsIntoTheFolderGivenWithOrWithoutSeparator)
{
    addExaminee("张三", "一班", "第1考室");
    addExaminee("李四", "二班", "第1考室");
    addExaminee("王五", "二班", "");

    const test::CliRun outcome = run({"export", "--by", "unit", "--out", outFolder(), "--db", databaseFile()});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("查询数据导出完毕：导出了2位考生，另有1位考生因没有指定考室未导出！"), std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("wrote 2 query workbooks"), std::string::npos) << outcome.out;
    EXPECT_EQ(column(fs::path(outFolder()) / "一班.xlsx", 1), (std::vector<std::string>{"姓名", "张三"}));
    EXPECT_EQ(column(fs::path(outFolder()) / "二班.xlsx", 1), (std::vector<std::string>{"姓名", "李四"}));

    const test::CliRun all = run({"export", "--db", databaseFile(), "--out", outFolder() + "/", "--by", "all"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(column(fs::path(outFolder()) / "所有考生查询数据导出.xlsx", 1).size(), 3u);
}

TEST_F(ExportCommandTest, FailureGivesTheMessageAndCauseOnStderr)
{
    addExaminee("张三", "A班", "第1考室");
    addExaminee("李四", "B/班", "第1考室");

    const test::CliRun outcome = run({"export", "--db", databaseFile(), "--out", outFolder(), "--by", "unit"});

    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("你的电脑可能没安装完整版的Excel！"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("B/班"), std::string::npos) << outcome.err;
    EXPECT_TRUE(fs::exists(fs::path(outFolder()) / "A班.xlsx"));

    const test::CliRun empty = run({"export", "--db", m_dir.file("none.mdb"), "--out", outFolder(), "--by", "all"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_FALSE(fs::exists(m_dir.file("none.mdb")));
}

TEST_F(ExportCommandTest, UsageErrors)
{
    const std::vector<std::vector<std::string>> wrong{
        {"export", "--db", "x.mdb", "--out", "dir"},
        {"export", "--db", "x.mdb", "--out", "dir", "--by", "room"},
        {"export", "--db", "x.mdb", "--out", "dir", "--by", "all", "--fast", "yes"},
        {"export", "--db", "x.mdb", "--out", "dir", "--by"},
    };
    for (const auto& args : wrong) {
        const test::CliRun outcome = run(args);
        EXPECT_EQ(outcome.exitCode, 2) << args.size();
        EXPECT_FALSE(outcome.err.empty());
    }
}
