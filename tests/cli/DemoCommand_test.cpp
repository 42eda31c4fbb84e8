#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRunner.h"
#include "services/workbook/Workbook.h"
#include "support/TempDir.h"

using sedilo::test::CliRun;
using sedilo::test::runCli;
using sedilo::test::TempDir;

namespace {

TEST(DemoCommand, ArrangesTheShippedExamineesAndSaysWhere)
{
    TempDir dir;
    const CliRun run = runCli(dir.path().string(), {"demo", dir.file("demo")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("seated 70 of 70 examinees in 3 rooms; wrote 3 room workbooks, 3 query workbooks"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(dir.file("demo")), std::string::npos);
    for (const char* file : {"第1考室.xlsx", "第2考室.xlsx", "第3考室.xlsx", "初三一班.xlsx", "初三二班.xlsx",
                             "初三三班.xlsx"}) {
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "demo" / file)) << file;
        EXPECT_NE(run.out.find(file), std::string::npos) << file;
    }
    const auto room = sedilo::workbook::Workbook::open(dir.file("demo/第3考室.xlsx"));
    EXPECT_EQ(room->firstSheet().cellText(1, 1), "第3考室(10人)");

    // A second run over the same folder gives the same rooms.
    EXPECT_EQ(runCli(dir.path().string(), {"demo", dir.file("demo")}).exitCode, 0);
    EXPECT_EQ(sedilo::workbook::Workbook::open(dir.file("demo/第3考室.xlsx"))->firstSheet().cellText(2, 1),
              room->firstSheet().cellText(2, 1));
}

} // namespace
