#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include <sqlite3.h>

#include "rooms/RoomEditor.h"
#include "rooms/RoomPersistence.h"
#include "store/SeatingDatabase.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;
using namespace sedilo::rooms;

namespace {

using Room = std::pair<std::string, std::string>;
using Rooms = std::vector<Room>;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr const char* kLongNote = "，红色显示的考室模板表示该模板文件可能不存在！";

// Reads and changes the database file behind the program's back.
class RawDatabase {
public:
    explicit RawDatabase(const std::string& path)
    {
        if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
    }
    ~RawDatabase() { sqlite3_close(m_db); }

    void run(const std::string& sql)
    {
        char* message = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string cause = message ? message : "?";
            sqlite3_free(message);
            throw std::runtime_error(cause);
        }
    }

    Rooms rooms()
    {
        Rooms out;
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db, "select 考室, 模板 from ksdata order by rowid", -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto text = [&](int column) {
                const auto* value = sqlite3_column_text(statement, column);
                return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
            };
            out.emplace_back(text(0), text(1));
        }
        sqlite3_finalize(statement);
        return out;
    }

private:
    sqlite3* m_db = nullptr;
};

class RoomPersistenceTest : public ::testing::Test {
protected:
    RoomPersistenceTest() : database(folder.file("data.mdb"))
    {
        writeRoomGridHeaders(tab.ksgrid);
        presentA = existingTemplate("a.xlsx");
        presentB = existingTemplate("b.xlsx");
        missing = folder.file("moved-away.xlsx");
    }

    std::string existingTemplate(const std::string& name)
    {
        const std::string path = folder.file(name);
        std::ofstream(path) << "template";
        return path;
    }

    void add(RoomsTab& into, const std::string& name, const std::string& path)
    {
        into.ksname = name;
        into.ksmbpath = path;
        AddRoom(into, prompt);
    }

    static Rooms gridRooms(const RoomsTab& from)
    {
        Rooms out;
        for (int row = 1; row < from.ksgrid.Rows(); ++row)
            out.emplace_back(from.ksgrid.TextMatrix(row, 0), from.ksgrid.TextMatrix(row, 1));
        return out;
    }

    // Three rooms saved, the second with a template that is not there.
    Rooms saveThree()
    {
        add(tab, "第1考室", presentA);
        add(tab, "第2考室", missing);
        add(tab, "第3考室", presentB);
        SaveRooms(tab, database, prompt);
        return gridRooms(tab);
    }

    Rooms stored() { return RawDatabase(folder.file("data.mdb")).rooms(); }

    test::TempDir folder;
    store::SeatingDatabase database;
    RoomsTab tab;
    test::ScriptedPrompt prompt;
    std::string presentA, presentB, missing;
};

} // namespace

TEST_F(RoomPersistenceTest, SavingAnEmptyListIsRefusedAndLeavesTheTable)
{
    const Rooms saved = saveThree();
    prompt.clear();
    prompt.answerNext(PromptAnswer::Yes);
    ClearRooms(tab, prompt);
    prompt.clear();

    SaveRooms(tab, database, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].text, "列表中无数据，保存失败");
    EXPECT_EQ(stored(), saved);
}

TEST_F(RoomPersistenceTest, SaveClearLoadGivesTheSameRoomsAndMarksOnlyTheMissingTemplate)
{
    std::vector<std::string> statements;
    database.setStatementLog([&](const std::string& sql) { statements.push_back(sql); });
    const Rooms saved = saveThree();
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"考室数据保存至数据库成功"});
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Information);
    EXPECT_EQ(stored(), saved);
    EXPECT_NE(std::find(statements.begin(), statements.end(), "delete from ksdata"), statements.end());
    EXPECT_NE(std::find(statements.begin(), statements.end(), "select * from ksdata "), statements.end());

    prompt.answerNext(PromptAnswer::Yes);
    ClearRooms(tab, prompt);
    prompt.clear();
    LoadRooms(tab, database, prompt);

    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"考室数据载入成功"});
    EXPECT_EQ(gridRooms(tab), saved);
    EXPECT_EQ(tab.kstjstr, std::string("当前共有3间考室") + kLongNote);
    EXPECT_EQ(tab.ksgrid.Row(), 3) << "the last loaded room is the current row";
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(tab.ksgrid.cellColor(row, 0), RoomGrid::kDefaultColor) << row;
        EXPECT_EQ(tab.ksgrid.cellColor(row, 1), row == 2 ? kRed : RoomGrid::kDefaultColor) << row;
    }
    EXPECT_EQ(tab.ksname, "第4考室") << "loading leaves the entry boxes alone";
}

TEST_F(RoomPersistenceTest, SavingReplacesTheStoredListWithoutDuplicates)
{
    saveThree();
    SaveRooms(tab, database, prompt);
    EXPECT_EQ(stored().size(), 3u);

    tab.ksgrid.setRow(2);
    DeleteRoom(tab, prompt);
    SaveRooms(tab, database, prompt);
    EXPECT_EQ(stored(), (Rooms{{"第1考室", presentA}, {"第3考室", presentB}}));
}

TEST_F(RoomPersistenceTest, LoadingAppendsAfterTheRoomsInTheGrid)
{
    const Rooms saved = saveThree();
    LoadRooms(tab, database, prompt);
    LoadRooms(tab, database, prompt);
    Rooms expected = saved;
    for (int copy = 0; copy < 2; ++copy)
        expected.insert(expected.end(), saved.begin(), saved.end());
    EXPECT_EQ(gridRooms(tab), expected);
    EXPECT_EQ(tab.kstjstr, std::string("当前共有9间考室") + kLongNote);
    EXPECT_EQ(tab.ksgrid.cellColor(5, 1), kRed);
    EXPECT_EQ(tab.ksgrid.cellColor(8, 1), kRed);
    EXPECT_EQ(tab.ksgrid.cellColor(2, 1), RoomGrid::kDefaultColor) << "rooms added by hand are never marked";
}

TEST_F(RoomPersistenceTest, SingleRoomFillsTheBlankRowOfAnEmptyList)
{
    add(tab, "第1考室", missing);
    SaveRooms(tab, database, prompt);

    RoomsTab fresh;
    writeRoomGridHeaders(fresh.ksgrid);
    ASSERT_LT(fresh.ksgrid.Row(), 1);
    LoadRooms(fresh, database, prompt);
    EXPECT_EQ(fresh.ksgrid.Rows(), 2);
    EXPECT_EQ(gridRooms(fresh), (Rooms{{"第1考室", missing}}));
    EXPECT_EQ(fresh.kstjstr, std::string("当前共有1间考室") + kLongNote);
    EXPECT_EQ(fresh.ksgrid.cellColor(1, 1), kRed);
    EXPECT_EQ(fresh.ksgrid.cellColor(0, 1), RoomGrid::kDefaultColor) << "the header is never marked";
}

TEST_F(RoomPersistenceTest, ARowReusedAfterABlankSavedRowLosesItsRedMark)
{
    // A blank saved row with a missing template, then a room whose template is there:
    // the room takes over the blank row, which must not stay red.
    RawDatabase raw(folder.file("data.mdb").c_str());
    database.OpenDataConnection();
    database.closeAll();
    raw.run("insert into ksdata (考室, 模板) values ('', '" + missing + "'), ('第1考室', '" + presentA + "')");

    LoadRooms(tab, database, prompt);
    ASSERT_EQ(gridRooms(tab), (Rooms{{"第1考室", presentA}}));
    EXPECT_EQ(tab.ksgrid.cellColor(1, 0), RoomGrid::kDefaultColor);
    EXPECT_EQ(tab.ksgrid.cellColor(1, 1), RoomGrid::kDefaultColor);
}

TEST_F(RoomPersistenceTest, LoadingAnEmptyTableChangesNothing)
{
    add(tab, "A", presentA);
    tab.ksgrid.setRow(1);
    const Rooms before = gridRooms(tab);
    const std::string countBefore = tab.kstjstr;

    LoadRooms(tab, database, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Information);
    EXPECT_EQ(prompt.shown()[0].text, "数据库中无考室数据！");
    EXPECT_EQ(gridRooms(tab), before);
    EXPECT_EQ(tab.kstjstr, countBefore);
    EXPECT_EQ(tab.ksgrid.Row(), 1);
}

TEST_F(RoomPersistenceTest, TextsPassUnchangedBothWays)
{
    // Blanks around a name reach the grid only through a load; they survive.
    RawDatabase raw(folder.file("data.mdb").c_str());
    database.OpenDataConnection();
    database.closeAll();
    raw.run("insert into ksdata (考室, 模板) values (' 第1考室 ', ' /t/a.xlsx\t'), (NULL, NULL)");

    LoadRooms(tab, database, prompt);
    ASSERT_EQ(gridRooms(tab), (Rooms{{" 第1考室 ", " /t/a.xlsx\t"}, {"", ""}}));
    SaveRooms(tab, database, prompt);
    EXPECT_EQ(stored(), (Rooms{{" 第1考室 ", " /t/a.xlsx\t"}, {"", ""}}));
}

TEST_F(RoomPersistenceTest, FailureHalfWayThroughSavingKeepsTheStoredList)
{
    const Rooms saved = saveThree();
    RawDatabase(folder.file("data.mdb"))
        .run("create trigger refuse before insert on ksdata when new.考室 = '坏考室' "
             "begin select raise(abort, 'disk full'); end");

    tab.ksgrid.setRow(1);
    DeleteRoom(tab, prompt);
    add(tab, "坏考室", presentA);
    add(tab, "第9考室", presentA);
    prompt.clear();

    SaveRooms(tab, database, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].text, "考室数据保存失败！");
    EXPECT_NE(prompt.shown()[0].detail.find("disk full"), std::string::npos) << prompt.shown()[0].detail;
    EXPECT_EQ(stored(), saved) << "the delete and the rows written before the failure are undone";

    // The database is usable again by the next action.
    RawDatabase(folder.file("data.mdb")).run("drop trigger refuse");
    prompt.clear();
    SaveRooms(tab, database, prompt);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"考室数据保存至数据库成功"});
    EXPECT_EQ(stored(), gridRooms(tab));
}

TEST_F(RoomPersistenceTest, FailureWhileLoadingLeavesTheGridAlone)
{
    saveThree();
    RawDatabase(folder.file("data.mdb")).run("drop table ksdata");
    const Rooms before = gridRooms(tab);
    const std::string countBefore = tab.kstjstr;
    prompt.clear();

    LoadRooms(tab, database, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].text, "考室数据载入失败！");
    EXPECT_NE(prompt.shown()[0].detail.find("ksdata"), std::string::npos) << prompt.shown()[0].detail;
    EXPECT_EQ(gridRooms(tab), before);
    EXPECT_EQ(tab.kstjstr, countBefore);
}

TEST_F(RoomPersistenceTest, UnreadableDatabaseFileIsReportedNotThrown)
{
    add(tab, "A", presentA);
    std::ofstream(folder.file("data.mdb"), std::ios::binary) << std::string(4096, 'x');
    SaveRooms(tab, database, prompt);
    LoadRooms(tab, database, prompt);
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"考室数据保存失败！", "考室数据载入失败！"}));
    EXPECT_EQ(gridRooms(tab), (Rooms{{"A", presentA}}));
}
