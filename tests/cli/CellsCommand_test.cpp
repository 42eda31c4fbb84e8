#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CliRunner.h"
#include "services/workbook/NewWorkbook.h"
#include "support/TempDir.h"

using sedilo::test::CliRun;
using sedilo::test::fixturePath;
using sedilo::test::runCli;
using sedilo::test::TempDir;

TEST(CellsCommand, PrintsTheBoundsAndEveryNonEmptyCell)
{
    TempDir dir;
    const CliRun run = runCli(dir.path().string(), {"cells", fixturePath("xlsx-seat-template.xlsx")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string header = "rows 6 columns 4\n1\t1\t考室名称\n2\t1\t座位号\\n姓名\\n考号\n";
    EXPECT_EQ(run.out.substr(0, header.size()), header);
    EXPECT_TRUE(run.out.ends_with("4\t4\t座位号\\n姓名\\n考号\n6\t1\t监考：Name 单位\n")) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1 + 14);
}

TEST(CellsCommand, ReadsNewWorkbooksAndShowsAnEmptySheet)
{
    TempDir dir;
    sedilo::workbook::NewWorkbook book;
    book.setCellText(3, 2, "20140001");
    const std::string path = book.saveAs(dir.file("one"));
    CliRun run = runCli(dir.path().string(), {"cells", path});
    EXPECT_EQ(run.out, "rows 3 columns 2\n3\t2\t20140001\n");

    const std::string empty = sedilo::workbook::NewWorkbook().saveAs(dir.file("empty"));
    run = runCli(dir.path().string(), {"cells", empty});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "rows 0 columns 0\n");
}

TEST(CellsCommand, AnUnreadableFileExitsWithTheCause)
{
    TempDir dir;
    CliRun run = runCli(dir.path().string(), {"cells", dir.file("missing.xlsx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("missing.xlsx: cannot open the file"), std::string::npos) << run.err;

    run = runCli(dir.path().string(), {"cells", fixturePath("xlsx-crafted.xlsx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cell C5 holds the error #N/A"), std::string::npos) << run.err;

    run = runCli(dir.path().string(), {"cells"});
    EXPECT_EQ(run.exitCode, 2);
}
