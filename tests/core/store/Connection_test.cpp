#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <unistd.h>

#include "StoreTestSupport.h"
#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/Recordset.h"
#include "store/SqliteStatement.h"
#include "support/TempDir.h"

using namespace sedilo;
using namespace sedilo::store;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The DatabaseError of opening `file`, which must name the file and `cause`.
void expectOpenFails(const std::string& file, const std::string& cause)
{
    Connection connection(file, nullptr);
    try {
        connection.open();
        FAIL() << "opened " << file;
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
        EXPECT_NE(error.detail().find(cause), std::string::npos) << error.what();
    }
    EXPECT_FALSE(connection.isOpen());
}

} // namespace

TEST(Connection, CreatesAMissingFileWithTheThreeTables)
{
    test::TempDir folder;
    const std::string file = folder.file("data.mdb");
    Connection connection(file, nullptr);
    connection.open();
    EXPECT_TRUE(connection.isOpen());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(test::rowsOnDisk(file, "select name from pragma_table_info('jcdata')"),
              (std::vector<std::string>{"姓名", "考号", "单位", "成绩", "随机号"}));
    EXPECT_EQ(test::rowsOnDisk(file, "select name from pragma_table_info('jcdatatp')"),
              (std::vector<std::string>{"姓名", "考号", "单位", "成绩", "随机号", "考室", "座位号"}));
    EXPECT_EQ(test::rowsOnDisk(file, "select name, type from pragma_table_info('ksdata')"),
              (std::vector<std::string>{"考室|TEXT", "模板|TEXT"}));
    connection.close();

    // Opening again keeps the file as it is.
    Connection again(file, nullptr);
    again.open();
    again.execute("delete from ksdata");
}

TEST(Connection, UnusableFilesGiveAnErrorNamingTheFileAndTheCause)
{
    test::TempDir folder;
    const std::string garbage = folder.file("garbage.mdb");
    std::ofstream(garbage) << "Standard Jet DB, or anything else that is not SQLite, repeated to fill a page. "
                           << std::string(600, 'x');
    const std::string before = readFile(garbage);
    expectOpenFails(garbage, "not a usable database");
    EXPECT_EQ(readFile(garbage), before);

    const std::string missingColumn = folder.file("old.mdb");
    test::runOnDisk(missingColumn, "create table jcdata (姓名, 考号, 单位, 成绩);"
                                   "create table jcdatatp (姓名, 考号, 单位, 成绩, 随机号, 考室, 座位号);"
                                   "create table ksdata (考室, 模板);");
    expectOpenFails(missingColumn, "the table jcdata has no column 随机号");

    const std::string missingTable = folder.file("other.mdb");
    test::runOnDisk(missingTable, "create table jcdata (姓名, 考号, 单位, 成绩, 随机号);");
    expectOpenFails(missingTable, "no table jcdatatp");

    expectOpenFails(folder.file("no-such-folder/data.mdb"), "cannot be opened");

    if (geteuid() != 0) { // permissions do not restrict root
        const std::string unreadable = folder.file("unreadable.mdb");
        Connection(unreadable, nullptr).open();
        std::filesystem::permissions(unreadable, std::filesystem::perms::none);
        expectOpenFails(unreadable, "cannot be opened");
    }
}

TEST(Connection, ALockedFileEndsOpeningWithAnError)
{
    test::TempDir folder;
    const std::string file = folder.file("data.mdb");
    Connection(file, nullptr).open();

    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    expectOpenFails(file, "locked");
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);

    Connection connection(file, nullptr);
    EXPECT_NO_THROW(connection.open());
}

TEST(Connection, ExplicitTransactionRollbackLeavesTheTableAsBefore)
{
    // A scratch database, its journal in memory, rolls back the same.
    for (const Durability durability : {Durability::Kept, Durability::Scratch}) {
        test::TempDir folder;
        const std::string file = folder.file("data.mdb");
        Connection connection(file, nullptr, Threading::Serialized, durability);
        connection.open();
        {
            SqliteStatement journal(connection.handle(), "PRAGMA journal_mode", file);
            std::string text;
            ASSERT_TRUE(journal.step());
            EXPECT_EQ(journal.columnText(0, text), durability == Durability::Scratch ? "memory" : "delete");
        }
        Recordset rooms;
        rooms.open("select * from ksdata ", connection);
        test::appendRow(rooms, {{"考室", std::string("第1考室")}, {"模板", std::string("/t/a.xls")}});
        rooms.close();

        try {
            Transaction transaction(connection);
            EXPECT_TRUE(connection.inTransaction());
            connection.execute("delete from ksdata");
            rooms.open("select * from ksdata ", connection);
            test::appendRow(rooms, {{"考室", std::string("第2考室")}});
            throw std::runtime_error("the save stops half-way");
        } catch (const std::runtime_error&) {
        }
        EXPECT_FALSE(connection.inTransaction());
        rooms.close();
        EXPECT_EQ(test::rowsOnDisk(file, "select * from ksdata"), std::vector<std::string>{"第1考室|/t/a.xls"});

        {
            Transaction transaction(connection);
            connection.execute("delete from ksdata");
            transaction.commit();
        }
        EXPECT_TRUE(test::rowsOnDisk(file, "select * from ksdata").empty());
        EXPECT_THROW(connection.commit(), DatabaseError);
        EXPECT_NO_THROW(connection.rollback());

        // Closing with a transaction still open keeps none of it.
        connection.beginTransaction();
        rooms.open("select * from ksdata ", connection);
        test::appendRow(rooms, {{"考室", std::string("第3考室")}});
        connection.close();
        EXPECT_FALSE(rooms.isOpen());
        EXPECT_TRUE(test::rowsOnDisk(file, "select * from ksdata").empty());
    }
}

TEST(Connection, StatementsNeedAnOpenConnection)
{
    test::TempDir folder;
    Connection connection(folder.file("data.mdb"), nullptr);
    EXPECT_THROW(connection.execute("delete from jcdata"), DatabaseError);
    Recordset recordset;
    EXPECT_THROW(recordset.open("select * from jcdata", connection), DatabaseError);
    connection.open();
    EXPECT_THROW(connection.execute("delete from nosuchtable"), DatabaseError);
}
