#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/Recordset.h"
#include "store/Statements.h"
#include "support/TempDir.h"

using namespace sedilo;
using namespace sedilo::store;

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    RecordsetTest() { connection.open(); }

    void appendExaminees(const std::vector<std::pair<std::string, std::string>>& nameAndScore)
    {
        Recordset target;
        target.open(sql::kSelectWorkingCopy, connection);
        for (const auto& [name, score] : nameAndScore)
            test::appendRow(target, {{"姓名", name}, {"成绩", score}});
    }

    std::vector<std::string> column(const std::string& sql, const std::string& name)
    {
        Recordset recordset;
        recordset.open(sql, connection);
        std::vector<std::string> values;
        for (recordset.moveFirst(); !recordset.atEnd(); recordset.moveNext())
            values.push_back(recordset.text(name));
        return values;
    }

    test::TempDir folder;
    std::string file = folder.file("data.mdb");
    Connection connection{file, nullptr};
};

} // namespace

TEST_F(RecordsetTest, ScoresOrderByValueAndTextScoresStayText)
{
    appendExaminees({{"甲", "89.5"}, {"乙", "100"}, {"丙", "缺考"}, {"丁", "95"}, {"戊", "0"}, {"己", "9"}});
    // SQLite ranks every number below every text, so 缺考 leads a descending order.
    EXPECT_EQ(column(sql::kOrderByScoreDesc, "成绩"), (std::vector<std::string>{"缺考", "100", "95", "89.5", "9", "0"}));
    EXPECT_EQ(column(sql::kOrderByScoreAsc, "成绩"), (std::vector<std::string>{"0", "9", "89.5", "95", "100", "缺考"}));

    Recordset recordset;
    recordset.open(sql::kSelectWorkingCopy, connection);
    EXPECT_EQ(recordset.value("成绩"), Field(89.5));
    recordset.moveNext();
    EXPECT_EQ(recordset.value("成绩"), Field(std::int64_t{100}));
    recordset.moveNext();
    EXPECT_EQ(recordset.value("成绩"), Field(std::string("缺考")));
}

TEST_F(RecordsetTest, NamesOrderByPinyinWithLatinNamesAfter)
{
    appendExaminees({{"赵六", "1"}, {"Alice", "1"}, {"阿明", "1"}, {"张三", "1"}, {"bob", "1"}, {"白云", "1"}});
    EXPECT_EQ(column(sql::kOrderByName, "姓名"),
              (std::vector<std::string>{"阿明", "白云", "张三", "赵六", "Alice", "bob"}));
}

TEST_F(RecordsetTest, UnorderedSelectsAndTiesKeepTheAppendOrder)
{
    appendExaminees({{"赵", "60"}, {"钱", "70"}, {"孙", "60"}, {"李", "70"}});
    EXPECT_EQ(column(sql::kSelectWorkingCopy, "姓名"), (std::vector<std::string>{"赵", "钱", "孙", "李"}));
    EXPECT_EQ(column(sql::kOrderByScoreDesc, "姓名"), (std::vector<std::string>{"钱", "李", "赵", "孙"}));

    connection.execute(sql::kDeleteWorkingCopy);
    appendExaminees({{"周", "1"}, {"吴", "1"}});
    EXPECT_EQ(column(sql::kSelectWorkingCopy, "姓名"), (std::vector<std::string>{"周", "吴"}));
}

TEST_F(RecordsetTest, UpdateWritesTheCurrentRowInPlace)
{
    appendExaminees({{"张三", "80"}, {"李四", "90"}, {"王五", "70"}});
    Recordset ordered;
    ordered.open(sql::kOrderByScoreDesc, connection);
    ASSERT_EQ(ordered.rowCount(), 3);
    ordered.moveNext();
    ASSERT_EQ(ordered.text("姓名"), "张三");
    ordered.setValue("考室", std::string("第1考室"));
    ordered.setValue("座位号", std::string("2"));
    ordered.update();
    EXPECT_EQ(ordered.text("考室"), "第1考室");
    EXPECT_EQ(ordered.rowCount(), 3);
    ordered.moveNext();
    EXPECT_EQ(ordered.text("姓名"), "王五");
    EXPECT_EQ(ordered.text("考室"), "");
    ordered.close();

    EXPECT_EQ(test::rowsOnDisk(file, "select 姓名, 考室, 座位号 from jcdatatp"),
              (std::vector<std::string>{"张三|第1考室|2", "李四||", "王五||"}));
}

TEST_F(RecordsetTest, AppendedRowsJoinTheOpenResultSet)
{
    Recordset rooms;
    rooms.open("select * from ksdata ", connection);
    EXPECT_EQ(rooms.rowCount(), 0);
    EXPECT_TRUE(rooms.atEnd());
    rooms.moveFirst();
    EXPECT_TRUE(rooms.atEnd());
    test::appendRow(rooms, {{"考室", std::string("一")}, {"模板", std::string("/a.xls")}});
    test::appendRow(rooms, {{"考室", std::string("二")}});
    EXPECT_EQ(rooms.rowCount(), 2);
    EXPECT_EQ(rooms.text("考室"), "二");
    EXPECT_EQ(rooms.value("模板"), Field());
    EXPECT_THROW(rooms.value("姓名"), DatabaseError);
    EXPECT_THROW(rooms.setValue("没有", std::string()), DatabaseError);

    // The rows kept in memory hold the values as stored, not as given.
    Recordset examinees;
    examinees.open(sql::kSelectWorkingCopy, connection);
    test::appendRow(examinees, {{"成绩", std::string("89.5")}, {"随机号", std::int64_t{4}}, {"考号", std::int64_t{7}}});
    EXPECT_EQ(examinees.value("成绩"), Field(89.5));
    EXPECT_EQ(examinees.value("随机号"), Field(4.0));
    EXPECT_EQ(examinees.value("考号"), Field(std::string("7")));
    examinees.setValue("成绩", std::string("88"));
    examinees.update();
    EXPECT_EQ(examinees.value("成绩"), Field(std::int64_t{88}));
    EXPECT_EQ(examinees.value("考号"), Field(std::string("7")));

    // Bytes that are no UTF-8 (a workbook's unit or exam number) are stored as U+FFFD.
    test::appendRow(examinees, {{"考号", std::string("20\xff" "1")}, {"单位", std::string("一\xe4\xb8班")}});
    EXPECT_EQ(column(sql::kSelectWorkingCopy, "考号").back(), "20\uFFFD1");
    EXPECT_EQ(column(sql::kSelectWorkingCopy, "单位").back(), "一\uFFFD\uFFFD班");
}

TEST_F(RecordsetTest, WrittenRowsAreCommittedOnEveryWayOut)
{
    {
        Recordset target;
        target.open(sql::kSelectWorkingCopy, connection);
        test::appendRow(target, {{"姓名", std::string("关闭")}});
        target.close();
    }
    EXPECT_EQ(test::rowsOnDisk(file, "select 姓名 from jcdatatp").size(), 1u);

    try {
        Recordset target;
        target.open(sql::kSelectWorkingCopy, connection);
        test::appendRow(target, {{"姓名", std::string("异常")}});
        throw std::runtime_error("the action stops");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(test::rowsOnDisk(file, "select 姓名 from jcdatatp").size(), 2u);

    // The next statement on the connection commits the batch first.
    Recordset target;
    target.open(sql::kSelectWorkingCopy, connection);
    test::appendRow(target, {{"姓名", std::string("下一条语句")}});
    connection.execute(sql::kDeleteRooms);
    EXPECT_EQ(test::rowsOnDisk(file, "select 姓名 from jcdatatp").size(), 3u);

    // Closing the connection commits and closes the result sets opened on it.
    test::appendRow(target, {{"姓名", std::string("连接关闭")}});
    connection.close();
    EXPECT_FALSE(target.isOpen());
    EXPECT_THROW(target.rowCount(), DatabaseError);
    EXPECT_EQ(test::rowsOnDisk(file, "select 姓名 from jcdatatp").size(), 4u);
}
