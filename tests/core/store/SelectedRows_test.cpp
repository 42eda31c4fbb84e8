#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/SelectedRows.h"
#include "store/SqliteStatement.h"
#include "store/Statements.h"
#include "support/TempDir.h"

using namespace sedilo;
using namespace sedilo::store;

namespace {

// Each row's rowid and texts, "|" between them.
std::vector<std::string> visited(Connection& connection, const std::string& select)
{
    const SelectedRows selected = readSelectedRows(connection, select, {"姓名", "考号", "单位"});
    std::vector<std::string> rows;
    for (std::size_t row = 0; row < selected.size(); ++row)
        rows.push_back(std::to_string(selected.rowIds[row]) + "|" + std::string(selected.text(row, 0)) + "|" +
                       std::string(selected.text(row, 1)) + "|" + std::string(selected.text(row, 2)));
    return rows;
}

std::vector<std::string> sortedBySqlite(Connection& connection, const std::string& orderBy)
{
    SqliteStatement statement(connection.handle(),
                              "select _rowid_, 姓名, 考号, 单位 from jcdatatp order by " + orderBy + ", _rowid_", "");
    std::vector<std::string> rows;
    std::string scratch;
    while (statement.step()) {
        std::string row = std::to_string(std::get<std::int64_t>(statement.column(0)));
        for (int i = 1; i <= 3; ++i)
            row += "|" + std::string(statement.columnText(i, scratch));
        rows.push_back(row);
    }
    return rows;
}

} // namespace

// Every ordering sorts as SQLite would, over every storage class the columns
// can hold: NULLs, integers and reals that tie or differ by less than a real
// can tell, texts in and out of pinyin order, and blobs. Once with mostly
// distinct values, then with each value three times over.
TEST(SelectedRows, AnOrderByOneColumnSortsAsSqliteDoes)
{
    test::TempDir dir;
    Connection connection(dir.file("rows.mdb"), nullptr);
    connection.open();
    const std::string rows = R"(insert into jcdatatp (姓名, 考号, 单位, 成绩, 随机号, 考室) values
        ('张三', '2026001', '第一中学', 90, 0.5, '1'),
        ('李四', 2026002, '第二中学', 90.0, 0.25, '2'),
        ('王五', '2026003', X'00ff', 89.5, null, '10'),
        (null, null, null, null, 0.5, null),
        ('阿明', '', '第一中学', 'absent', -1, ''),
        ('Zoe', '2026004', '第一中学', 9223372036854775807, 1e300, '2'),
        ('zoe', '2026005', 'b', 9223372036854775806, -0.0, 'x'),
        ('张三', '2026006', 'B', 9.2233720368547758e18, 0.0, '1'),
        ('123', '2026007', '第二中学', X'01', 2, '3'),
        ('吕', '2026008', '', -5, 'text', '3'),
        ('', '2026009', ' ', '90', 0.5, '2'))";
    connection.execute(rows);
    const std::vector<std::pair<const char*, const char*>> orderings{
        {sql::kOrderByName, "姓名"},     {sql::kOrderByNumber, "考号 asc"}, {sql::kOrderByScoreDesc, "成绩 desc"},
        {sql::kOrderByScoreAsc, "成绩 asc"}, {sql::kOrderByRandom, "随机号"},  {sql::kOrderByRoomDesc, "考室 desc"},
        {sql::kOrderByUnit, "单位"}};
    for (const bool repeated : {false, true}) {
        if (repeated) {
            connection.execute(rows);
            connection.execute(rows);
        }
        for (const auto& [select, orderBy] : orderings)
            EXPECT_EQ(visited(connection, select), sortedBySqlite(connection, orderBy)) << select << repeated;
    }
}
