#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "services/cipher/NameCipher.h"
#include "store/DatabaseError.h"
#include "store/RebuildWorkingCopy.h"
#include "store/SeatingDatabase.h"
#include "store/Statements.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;
using namespace sedilo::store;

namespace {

struct BaseRow {
    std::string stored;
    std::string number;
    std::string unit;
    std::string score;
    double random;
};

class RebuildTest : public ::testing::Test {
protected:
    RebuildTest()
    {
        names.setPassPhrase(cipher::kCipherPassPhrase);
        database.setStatementLog([this](const std::string& sql) { log.push_back(sql); });
    }

    void writeBaseData(const std::vector<BaseRow>& rows)
    {
        database.replaceSharedRecordset();
        database.OpenDataConnection();
        database.SharedConnection().execute(sql::kDeleteBaseData);
        database.SharedRecordset().open(sql::kSelectBaseData, database.SharedConnection());
        for (const auto& row : rows)
            test::appendRow(database.SharedRecordset(), {{"姓名", row.stored}, {"考号", row.number},
                                                         {"单位", row.unit}, {"成绩", row.score},
                                                         {"随机号", row.random}});
        database.closeAll();
        log.clear();
    }

    std::vector<std::string> workingCopy()
    {
        return test::rowsOnDisk(file, "select 姓名, 考号, 单位, 成绩, 随机号, ifnull(考室, ''), ifnull(座位号, '') from jcdatatp");
    }

    test::TempDir folder;
    std::string file = folder.file("data.mdb");
    SeatingDatabase database{file};
    test::ScriptedPrompt prompt;
    cipher::NameCipher names{prompt};
    std::vector<std::string> log;
};

} // namespace

TEST_F(RebuildTest, CopiesEveryRowInSourceOrderWithPlainNames)
{
    writeBaseData({{names.EncryptName("张三"), "001", "一班", "0", 3},
                   {names.EncryptName("欧阳娜娜"), "002", "", "89.5", 1},
                   {names.EncryptName("李四"), "003", "二班", "缺考", 2}});
    RebuildWorkingCopy(database, names);
    const std::vector<std::string> expected{"张三|001|一班|0|3.0||", "欧阳娜娜|002||89.5|1.0||", "李四|003|二班|缺考|2.0||"};
    EXPECT_EQ(workingCopy(), expected);
    EXPECT_EQ(log, (std::vector<std::string>{sql::kDeleteWorkingCopy, sql::kReadBaseData, sql::kInsertWorkingCopy}));
    EXPECT_FALSE(database.SharedConnection().isOpen());
    EXPECT_FALSE(database.SharedRecordset().isOpen());
    EXPECT_FALSE(database.CopyRecordset().isOpen());

    // Seats of an earlier generation are gone, and there are not twice the rows.
    test::runOnDisk(file, "update jcdatatp set 考室 = '第1考室', 座位号 = '1'");
    RebuildWorkingCopy(database, names);
    EXPECT_EQ(workingCopy(), expected);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(RebuildTest, NamesAreCutAtTheFirstZeroCharacter)
{
    writeBaseData({{names.EncryptName(std::string("王\0五", 5)), "1", "", "1", 1},
                   {names.EncryptName("  赵六"), "2", "", "1", 2},
                   {"", "3", "", "1", 3}});
    RebuildWorkingCopy(database, names);
    const auto rows = workingCopy();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].substr(0, rows[0].find('|')), "王");
    EXPECT_EQ(rows[1].substr(0, rows[1].find('|')), "赵六");
    EXPECT_EQ(rows[2].substr(0, rows[2].find('|')), "");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(RebuildTest, ANameThatIsNotHexIsReportedAndStoredEmpty)
{
    writeBaseData({{"not hex", "1", "", "1", 1}, {names.EncryptName("钱七"), "2", "", "1", 2}});
    RebuildWorkingCopy(database, names);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Text not Hex data"});
    const auto rows = workingCopy();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 3), "|1|");
    EXPECT_EQ(rows[1].substr(0, rows[1].find('|')), "钱七");
}

TEST_F(RebuildTest, EmptyBaseDataGivesAnEmptyWorkingCopy)
{
    writeBaseData({});
    test::runOnDisk(file, "insert into jcdatatp (姓名) values ('旧')");
    EXPECT_NO_THROW(RebuildWorkingCopy(database, names));
    EXPECT_TRUE(workingCopy().empty());
    EXPECT_TRUE(prompt.shown().empty());
}

// Rows go in many to a statement, yet a row that cannot be written still
// keeps every row before it, as a row-by-row copy would.
TEST_F(RebuildTest, RowsBeforeAFailingRowStayWhenWrittenManyAtATime)
{
    std::vector<BaseRow> rows;
    for (int i = 0; i < 100; ++i)
        rows.push_back({names.EncryptName("考生" + std::to_string(i)), std::to_string(i), "", "1", 1.0 + i});
    writeBaseData(rows);
    test::runOnDisk(file, "create trigger refuse before insert on jcdatatp when new.考号 = '40' "
                          "begin select raise(abort, 'refused'); end");
    EXPECT_THROW(RebuildWorkingCopy(database, names), DatabaseError);
    const auto copied = test::rowsOnDisk(file, "select 考号 from jcdatatp");
    ASSERT_EQ(copied.size(), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(copied[static_cast<std::size_t>(i)], std::to_string(i));
}

// A city's rows go through in chunks, each decrypted while the one before is
// written: order, warnings and the rows before a failure hold across chunks.
TEST_F(RebuildTest, ChunksKeepTheOrderTheWarningsAndTheRowsBeforeAFailure)
{
    std::vector<BaseRow> rows;
    for (int i = 0; i < 20000; ++i)
        rows.push_back({i == 9000 ? std::string("not hex") : names.EncryptName("考生" + std::to_string(i)),
                        std::to_string(i), "", "1", 1.0 + i});
    writeBaseData(rows);
    test::runOnDisk(file, "create trigger refuse before insert on jcdatatp when new.考号 = '17000' "
                          "begin select raise(abort, 'refused'); end");
    EXPECT_THROW(RebuildWorkingCopy(database, names), DatabaseError);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Text not Hex data"});
    const auto copied = test::rowsOnDisk(file, "select 姓名 || '|' || 考号 from jcdatatp order by rowid");
    ASSERT_EQ(copied.size(), 17000u);
    for (int i = 0; i < 17000; ++i) {
        const std::string name = i == 9000 ? "" : "考生" + std::to_string(i);
        ASSERT_EQ(copied[static_cast<std::size_t>(i)], name + "|" + std::to_string(i));
    }
}
