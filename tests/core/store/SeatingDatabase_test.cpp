#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <unistd.h>

#include "store/DatabaseLocation.h"
#include "store/SeatingDatabase.h"
#include "store/Statements.h"
#include "support/TempDir.h"

using namespace sedilo;
using namespace sedilo::store;

namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(SeatingDatabase, FolderGetsOneSeparatorBeforeTheFileName)
{
    EXPECT_EQ(databasePathInFolder("/opt/sedilo"), "/opt/sedilo/data.mdb");
    EXPECT_EQ(databasePathInFolder("/opt/sedilo/"), "/opt/sedilo/data.mdb");
    EXPECT_EQ(databasePathInFolder("/"), "/data.mdb");
}

TEST(SeatingDatabase, FailedOpenLeavesAnUnopenedConnectionAndTheNextActionRetries)
{
    test::TempDir folder;
    const std::string file = folder.file("data.mdb");
    std::ofstream(file) << std::string(1024, 'j');
    SeatingDatabase database(file);
    EXPECT_FALSE(database.SharedConnection().isOpen());
    EXPECT_THROW(database.OpenDataConnection(), DatabaseError);
    EXPECT_FALSE(database.SharedConnection().isOpen());
    EXPECT_THROW(database.SharedConnection().execute(sql::kDeleteBaseData), DatabaseError);

    std::filesystem::remove(file);
    database.OpenDataConnection();
    EXPECT_TRUE(database.SharedConnection().isOpen());
}

TEST(SeatingDatabase, ReplacingTheConnectionClosesTheResultSetsOnTheOldOne)
{
    test::TempDir folder;
    SeatingDatabase database(folder.file("data.mdb"));
    std::vector<std::string> log;
    database.setStatementLog([&](const std::string& sql) { log.push_back(sql); });
    database.OpenDataConnection();
    database.SharedRecordset().open(sql::kSelectRooms, database.SharedConnection());
    database.SharedRecordset().addNew();
    database.SharedRecordset().setValue("考室", std::string("一"));
    database.SharedRecordset().update();

    // The import leaves its connection open; the next action opens another.
    database.OpenDataConnection();
    EXPECT_FALSE(database.SharedRecordset().isOpen());
    database.replaceSharedRecordset();
    database.SharedRecordset().open(sql::kSelectRooms, database.SharedConnection());
    EXPECT_EQ(database.SharedRecordset().rowCount(), 1);
    database.closeAll();
    EXPECT_FALSE(database.SharedConnection().isOpen());
    EXPECT_EQ(log, (std::vector<std::string>{"select * from ksdata ", "select * from ksdata "}));
}

TEST(DatabaseLocation, AWritableExecutableFolderHoldsTheDatabase)
{
    test::TempDir folder;
    EXPECT_EQ(chooseDatabasePath(folder.path().string()), folder.file("data.mdb"));
}

TEST(DatabaseLocation, AReadOnlyExecutableFolderFallsBackToTheUserDataFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not restrict root";
    test::TempDir folder;
    const auto program = folder.path() / "bin";
    std::filesystem::create_directory(program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    {
        ScopedEnvironment dataHome("XDG_DATA_HOME", folder.file("xdg"));
        EXPECT_EQ(chooseDatabasePath(program.string()), folder.file("xdg/sedilo/data.mdb"));
        EXPECT_TRUE(std::filesystem::is_directory(folder.file("xdg/sedilo")));
    }
    {
        ScopedEnvironment dataHome("XDG_DATA_HOME", "");
        ScopedEnvironment home("HOME", folder.file("home"));
        EXPECT_EQ(chooseDatabasePath(program.string()), folder.file("home/.local/share/sedilo/data.mdb"));
    }
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}
