#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CliRunner.h"
#include "services/workbook/NewWorkbook.h"
#include "services/workbook/Workbook.h"
#include "store/SeatingDatabase.h"
#include "support/TempDir.h"

using sedilo::test::cliPath;
using sedilo::test::CliRun;
using sedilo::test::dataPath;
using sedilo::test::runCli;
using sedilo::test::TempDir;

namespace {

// A base-data workbook of `count` examinees; exam numbers rise while scores
// fall, and units alternate between 一班 and 二班.
std::string examineeWorkbook(const TempDir& dir, int count)
{
    sedilo::workbook::NewWorkbook book;
    const std::vector<std::string> header{"姓名", "考号", "单位", "成绩"};
    for (int column = 0; column < 4; ++column)
        book.setCellText(1, column + 1, header[column]);
    for (int i = 1; i <= count; ++i) {
        book.setCellText(i + 1, 1, "考生" + std::to_string(i));
        book.setCellText(i + 1, 2, std::to_string(100 + i));
        book.setCellText(i + 1, 3, i % 2 ? "一班" : "二班");
        book.setCellText(i + 1, 4, std::to_string(500 - i));
    }
    return book.saveAs(dir.file("examinees"));
}

// ROOMS.tsv with templates given relative to its own folder.
std::string roomList(const TempDir& dir, const std::vector<std::string>& lines)
{
    std::filesystem::create_directories(dir.path() / "rooms");
    std::filesystem::copy_file(dataPath("ksmb.xlsx"), dir.path() / "rooms" / "ksmb.xlsx",
                               std::filesystem::copy_options::overwrite_existing);
    const std::string path = dir.file("rooms/rooms.tsv");
    std::ofstream file(path, std::ios::binary);
    for (const std::string& line : lines)
        file << line << "\n";
    return path;
}

std::string cell(const std::string& path, int row, int column)
{
    return sedilo::workbook::Workbook::open(path)->firstSheet().cellText(row, column);
}

TEST(ArrangeCommand, ArrangesAndExportsPerUnit)
{
    TempDir dir;
    const std::string rooms = roomList(dir, {"第1考室\tksmb.xlsx", "第2考室\tksmb.xlsx", "第3考室\tksmb.xlsx"});
    const CliRun run = runCli(dir.path().string(),
                              {"arrange", "--examinees", examineeWorkbook(dir, 40), "--rooms", rooms, "--out",
                               dir.file("out"), "--order", "number", "--fill", "horizontal", "--export", "unit",
                               "--db", dir.file("data.mdb")});

    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "所有考室生成完成！\n所有考生查询数据导出完毕！\n"
                       "seated 40 of 40 examinees in 2 rooms; wrote 2 room workbooks, 2 query workbooks\n");
    EXPECT_EQ(cell(dir.file("out/第1考室.xlsx"), 2, 2), "2\n考生2\n102"); // by number, left to right
    EXPECT_EQ(cell(dir.file("out/第2考室.xlsx"), 1, 1), "第2考室(10人)");
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/一班.xlsx")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/二班.xlsx")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/第3考室.xlsx")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("data.mdb")));
}

TEST(ArrangeCommand, ExamineesWithoutRoomStillGetTheirQueryWorkbook)
{
    TempDir dir;
    const std::string rooms = roomList(dir, {"甲\tksmb.xlsx"});
    const CliRun run = runCli(dir.path().string(), {"arrange", "--examinees", examineeWorkbook(dir, 40), "--rooms",
                                                    rooms, "--out", dir.file("out"), "--export", "all"});

    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(run.out, "还有10考生没指定考室，请重新设置考室参数再次生成！\n"
                       "查询数据导出完毕：导出了30位考生，另有10位考生因没有指定考室未导出！\n"
                       "seated 30 of 40 examinees in 1 rooms; wrote 1 room workbooks, 1 query workbooks\n");
    // Highest score first by default, vertical by default.
    EXPECT_EQ(cell(dir.file("out/甲.xlsx"), 3, 1), "2\n考生2\n102");
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/所有考生查询数据导出.xlsx")));
}

TEST(ArrangeCommand, FailuresAndUsageErrors)
{
    TempDir dir;
    const std::string examinees = examineeWorkbook(dir, 5);
    const std::string rooms = roomList(dir, {"甲\tmissing.xlsx"});
    CliRun run = runCli(dir.path().string(), {"arrange", "--examinees", examinees, "--rooms", rooms, "--out",
                                              dir.file("out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("missing.xlsx”模板文件不存在！"), std::string::npos) << run.err;

    const std::string unsafe = roomList(dir, {"a/b\tksmb.xlsx"});
    run = runCli(dir.path().string(), {"arrange", "--examinees", examinees, "--rooms", unsafe, "--out",
                                       dir.file("out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("你的电脑可能没安装完整版的Excel！"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("你的电脑可能没安装完整版的Excel！\n原因：“a/b”不能用作文件名。\n  detail: "), std::string::npos)
        << run.err;

    const std::string malformed = roomList(dir, {"甲 ksmb.xlsx"});
    run = runCli(dir.path().string(), {"arrange", "--examinees", examinees, "--rooms", malformed, "--out",
                                       dir.file("out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("rooms.tsv”第1行不是"), std::string::npos) << run.err;

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"arrange", "--examinees", examinees, "--out", dir.file("out")},
             {"arrange", "--examinees", examinees, "--rooms", rooms, "--out", dir.file("out"), "--order", "age"},
             {"arrange", "--examinees", examinees, "--rooms", rooms, "--out", dir.file("out"), "--seed", "x"},
             {"arrange", "--examinees", examinees, "--rooms", rooms, "--out", dir.file("out"), "--colour"},
         }) {
        EXPECT_EQ(runCli(dir.path().string(), args).exitCode, 2) << args.back();
    }
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ArrangeCommand, ADatabaseHeldByAnotherProgramIsLeftAlone)
{
    TempDir dir;
    const std::string database = dir.file("data.mdb");
    ASSERT_EQ(runCli(dir.path().string(), {"import", "--db", database, examineeWorkbook(dir, 5)}).exitCode, 0);
    const std::string before = slurp(database);

    sedilo::store::SeatingDatabase held(database);
    {
        const sedilo::store::DatabaseHold hold = held.hold(sedilo::store::LockMode::Shared);
        const CliRun run = runCli(dir.path().string(), {"import", "--db", database, examineeWorkbook(dir, 9)});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("in use by another program"), std::string::npos) << run.err;
        EXPECT_EQ(slurp(database), before);
    }
    // Reading under another program's run waits for it as well.
    const sedilo::store::DatabaseHold hold = held.hold(sedilo::store::LockMode::Exclusive);
    const CliRun run = runCli(dir.path().string(), {"export", "--db", database, "--out", dir.file("q"), "--by", "all"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("in use by another program"), std::string::npos) << run.err;
}

TEST(ArrangeCommand, AStoppedRunLeavesNoTemporaryDatabase)
{
    TempDir dir;
    const std::string examinees = examineeWorkbook(dir, 20000);
    const std::string rooms = roomList(dir, {"甲\tksmb.xlsx"});
    const std::string temporary = dir.file("tmp");
    std::filesystem::create_directory(temporary);
    const pid_t child = fork();
    if (child == 0) {
        setenv("TMPDIR", temporary.c_str(), 1);
        execl(cliPath().c_str(), "sedilo-cli", "arrange", "--examinees", examinees.c_str(), "--rooms",
              rooms.c_str(), "--out", dir.file("out").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The run's private folder appears, then the run is stopped.
    std::vector<std::string> made;
    for (int i = 0; i < 5000 && made.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        made = entries(temporary);
    }
    ASSERT_EQ(made.size(), 1u);
    struct stat info {};
    ASSERT_EQ(::stat((std::filesystem::path(temporary) / made[0]).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(entries(temporary).empty());
}

TEST(ArrangeCommand, StagingLeftByKilledRunsIsRemovedAndNothingHiddenStays)
{
    TempDir dir;
    const std::string out = dir.file("out");
    std::filesystem::create_directories(out + "/.sedilo-staging-Ab12Cd");
    std::ofstream(out + "/.sedilo-staging-Ab12Cd/room-0.xlsx") << "left";
    std::ofstream(out + "/.sedilo-0123456789abcdef-3.xlsx") << "left";
    std::ofstream(out + "/.sedilo-notes.txt") << "not ours";
    const CliRun run = runCli(dir.path().string(), {"arrange", "--examinees", examineeWorkbook(dir, 40), "--rooms",
                                                    roomList(dir, {"甲\tksmb.xlsx", "乙\tksmb.xlsx"}), "--out", out,
                                                    "--export", "none"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(entries(out), (std::vector<std::string>{".sedilo-notes.txt", "乙.xlsx", "甲.xlsx"}));
}

TEST(ArrangeCommand, OddPathsAndRoomListsAreRefusedBeforeAnythingChanges)
{
    TempDir dir;
    const std::string examinees = examineeWorkbook(dir, 5);
    const std::string rooms = roomList(dir, {"甲\tksmb.xlsx"});
    const auto arrange = [&](const std::string& roomFile, const std::string& out, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"arrange", "--examinees", examinees, "--rooms", roomFile, "--out", out};
        args.insert(args.end(), more.begin(), more.end());
        return runCli(dir.path().string(), args);
    };
    // A path is taken as given: one with a space at an end is refused, not trimmed.
    EXPECT_EQ(arrange(rooms, " " + dir.file("out")).exitCode, 2);
    EXPECT_EQ(arrange(rooms, " ").exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out")));

    CliRun run = arrange(roomList(dir, {}), dir.file("out"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("是空的"), std::string::npos) << run.err;
    run = arrange(dir.file("rooms"), dir.file("out"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("不是普通文件"), std::string::npos) << run.err;
    run = arrange(roomList(dir, {"甲\tksmb.xlsx", std::string("乙\tksmb.xlsx\0.bak", 16)}), dir.file("out"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("第2行"), std::string::npos) << run.err;

    // A FIFO as the workbook is refused at once instead of waiting for a writer.
    const std::string fifo = dir.file("fifo.xlsx");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    run = runCli(dir.path().string(), {"cells", fifo});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("not a file but a FIFO"), std::string::npos) << run.err;

    // An output folder that cannot be made fails before the import replaces the base data.
    const std::string database = dir.file("data.mdb");
    ASSERT_EQ(runCli(dir.path().string(), {"import", "--db", database, examineeWorkbook(dir, 9)}).exitCode, 0);
    const std::string before = slurp(database);
    std::ofstream(dir.file("taken")) << "a file";
    run = arrange(roomList(dir, {"甲\tksmb.xlsx"}), dir.file("taken"), {"--db", database});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("不是文件夹"), std::string::npos) << run.err;
    EXPECT_EQ(slurp(database), before);
}

// The sheets are read back in detail by the core's tests; here only the
// choice of sheets, the room order and the exit codes.
TEST(ArrangeCommand, PrintSheetsAfterTheRunAndFromTheDatabaseLater)
{
    TempDir dir;
    const std::string rooms = roomList(dir, {"第2考室\tksmb.xlsx", "第1考室\tksmb.xlsx"});
    const std::string database = dir.file("data.mdb");
    CliRun run = runCli(dir.path().string(), {"arrange", "--examinees", examineeWorkbook(dir, 40), "--rooms", rooms,
                                              "--out", dir.file("out"), "--db", database, "--print", "door,signin"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("wrote 2 room workbooks, 2 print sheets"), std::string::npos) << run.out;
    EXPECT_EQ(cell(dir.file("out/考场签到表.xlsx"), 1, 1), "第2考室 考场签到表");
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/考场门贴.xlsx")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/考生座位表.xlsx")));

    run = runCli(dir.path().string(), {"print", "--db", database, "--out", dir.file("later")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(cell(dir.file("later/考场签到表.xlsx"), 1, 1), "第1考室 考场签到表"); // no room list: by name
    EXPECT_EQ(cell(dir.file("later/考生座位表.xlsx"), 3, 1), "101");

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"print", "--db", database, "--out", dir.file("x"), "--sheets", "signin,menu"},
             {"print", "--db", database, "--out", dir.file("x"), "--sheets", ""},
             {"print", "--out", dir.file("x")},
             {"arrange", "--examinees", "e.xlsx", "--rooms", rooms, "--out", dir.file("x"), "--print", "all"},
         }) {
        EXPECT_EQ(runCli(dir.path().string(), args).exitCode, 2) << args.back();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("x")));
    EXPECT_EQ(runCli(dir.path().string(), {"print", "--db", dir.file("none.mdb"), "--out", dir.file("x")}).exitCode, 1);
}

TEST(ArrangeCommand, UnitsApartCountsAndListsThePairsLeft)
{
    TempDir dir;
    const std::string examinees = examineeWorkbook(dir, 40);
    const std::string rooms = roomList(dir, {"第1考室\tksmb.xlsx", "第2考室\tksmb.xlsx"});
    const std::string report = dir.file("pairs.tsv");
    // Two units cannot keep off all eight seats around: each block of two by
    // two seats holds one of them twice.
    CliRun run = runCli(dir.path().string(), {"arrange", "--examinees", examinees, "--rooms", rooms, "--out",
                                              dir.file("out"), "--apart", "around", "--apart-report", report});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string countLine = "same-unit neighbours: ";
    const std::size_t at = run.out.find("examinees in 2 rooms; wrote 2 room workbooks\n" + countLine);
    ASSERT_NE(at, std::string::npos) << run.out;
    const long pairs = std::stol(run.out.substr(run.out.find(countLine) + countLine.size()));
    EXPECT_GT(pairs, 0);
    std::ifstream listed(report);
    std::string line;
    std::getline(listed, line);
    EXPECT_EQ(line, "room\tseat\tcell\tother seat\tother cell\tunit");
    long lines = 0;
    while (std::getline(listed, line)) {
        EXPECT_EQ(line.rfind("第", 0), 0u) << line;
        ++lines;
    }
    EXPECT_EQ(lines, pairs);

    run = runCli(dir.path().string(), {"arrange", "--examinees", examinees, "--rooms", rooms, "--out",
                                       dir.file("out"), "--apart", "side"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\nsame-unit neighbours: 0\n"), std::string::npos) << run.out;

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--apart", "diagonal"},
             {"--apart-report", report},
         }) {
        std::vector<std::string> all{"arrange", "--examinees", examinees, "--rooms", rooms, "--out", dir.file("out")};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_EQ(runCli(dir.path().string(), all).exitCode, 2) << args.front();
    }
}

TEST(ArrangeCommand, CapacityListsEachRoomsSeatsAndTheirSumAgainstTheExaminees)
{
    TempDir dir;
    const std::string rooms = roomList(dir, {"第1考室\tksmb.xlsx", " 第2考室\tksmb.xlsx", "旧\tgone.xlsx"});
    CliRun run = runCli(dir.path().string(), {"capacity", "--rooms", rooms});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "第1考室\t30\n 第2考室\t30\n旧\tunknown\n3 rooms, 60 seats or more (1 rooms of unknown seats)\n");

    run = runCli(dir.path().string(), {"capacity", "--rooms", rooms, "--examinees", examineeWorkbook(dir, 61)});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_NE(run.out.find(", 61 examinees, 1 seats short\n"), std::string::npos) << run.out;
    run = runCli(dir.path().string(), {"capacity", "--examinees", examineeWorkbook(dir, 60), "--rooms", rooms});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(", 60 examinees, 0 seats spare\n"), std::string::npos) << run.out;

    EXPECT_EQ(runCli(dir.path().string(), {"capacity", "--rooms", rooms, "--examinees", rooms}).exitCode, 1);
    EXPECT_EQ(runCli(dir.path().string(), {"capacity", "--rooms", dir.file("none.tsv")}).exitCode, 1);
    EXPECT_EQ(runCli(dir.path().string(), {"capacity"}).exitCode, 2);
    EXPECT_EQ(runCli(dir.path().string(), {"capacity", "--rooms", rooms, "--fill", "x"}).exitCode, 2);
}

} // namespace
