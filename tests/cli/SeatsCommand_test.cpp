#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CliRunner.h"
#include "services/workbook/NewWorkbook.h"
#include "support/TempDir.h"

using sedilo::test::CliRun;
using sedilo::test::dataPath;
using sedilo::test::fixturePath;
using sedilo::test::runCli;
using sedilo::test::TempDir;

namespace {

TEST(SeatsCommand, ListsTheSeatCellsInFillOrder)
{
    TempDir dir;
    CliRun run = runCli(dir.path().string(), {"seats", dataPath("ksmb.xlsx")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("30 seats\n1 A2\n2 A3\n3 A4\n4 A5\n5 A6\n6 A7\n7 B7\n8 B6\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\n30 E7\n"), std::string::npos);

    run = runCli(dir.path().string(), {"seats", "--fill", "horizontal", dataPath("ksmb.xlsx")});
    EXPECT_EQ(run.out.rfind("30 seats\n1 A2\n2 B2\n3 C2\n4 D2\n5 E2\n6 E3\n", 0), 0u) << run.out;
}

TEST(SeatsCommand, ReportsWhereTheFillWouldStop)
{
    TempDir dir;
    const CliRun run =
        runCli(dir.path().string(), {"seats", fixturePath("arrange-error-cell.xlsx"), "--fill", "horizontal"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "2 seats\n1 B2\n2 C2\n");
    EXPECT_NE(run.err.find("A3"), std::string::npos) << run.err;

    EXPECT_EQ(runCli(dir.path().string(), {"seats"}).exitCode, 2);
    EXPECT_EQ(runCli(dir.path().string(), {"seats", dataPath("ksmb.xlsx"), "--fill", "diagonal"}).exitCode, 2);
    EXPECT_EQ(runCli(dir.path().string(), {"seats", dir.file("none.xlsx")}).exitCode, 1);
}

TEST(SeatsCommand, ATemplateBeyondTheMemoryLeftIsNamedAsTooLarge)
{
    TempDir dir;
    sedilo::workbook::NewWorkbook book;
    for (int row = 1; row <= 100000; ++row) {
        book.setCellText(row, 1, "姓名");
        book.setCellText(row, 2, std::to_string(row));
    }
    const std::string path = book.saveAs(dir.file("large"));
    const std::string err = dir.file("err.txt");
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{80u << 20, 80u << 20};
        setrlimit(RLIMIT_AS, &limit);
        const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        execl(sedilo::test::cliPath().c_str(), "sedilo-cli", "seats", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::ifstream in(err);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status << text;
    EXPECT_NE(text.find(path + ": "), std::string::npos) << text;
    EXPECT_NE(text.find("too large"), std::string::npos) << text;
    EXPECT_EQ(text.find("std::bad_alloc"), std::string::npos) << text;
}

} // namespace
