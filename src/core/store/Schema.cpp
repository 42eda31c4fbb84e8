#include "store/Schema.h"

#include <set>
#include <vector>

#include <sqlite3.h>

#include "store/PinyinCollation.h"
#include "store/SqliteStatement.h"

namespace sedilo::store {

namespace {

struct Column {
    std::string name;
    std::string type;
};

struct Table {
    std::string name;
    std::vector<Column> columns;
};

// 成绩 is NUMERIC so that scores order by value while a text such as 缺考 stays text.
std::vector<Table> tables()
{
    const std::vector<Column> examinee{{"姓名", std::string("TEXT COLLATE ") + kPinyinCollation},
                                       {"考号", "TEXT"},
                                       {"单位", "TEXT"},
                                       {"成绩", "NUMERIC"},
                                       {"随机号", "REAL"}};
    std::vector<Column> workingCopy = examinee;
    workingCopy.push_back({"考室", "TEXT"});
    workingCopy.push_back({"座位号", "TEXT"});
    return {{"jcdata", examinee}, {"jcdatatp", workingCopy}, {"ksdata", {{"考室", "TEXT"}, {"模板", "TEXT"}}}};
}

bool hasNoTables(sqlite3* db, const std::string& file)
{
    SqliteStatement count(db, "SELECT count(*) FROM sqlite_master", file);
    count.step();
    return fieldText(count.column(0)) == "0";
}

void createTables(sqlite3* db, const std::string& file)
{
    std::string script = "BEGIN;";
    for (const Table& table : tables()) {
        script += "CREATE TABLE " + quotedName(table.name) + " (";
        for (std::size_t i = 0; i < table.columns.size(); ++i)
            script += (i ? ", " : "") + quotedName(table.columns[i].name) + " " + table.columns[i].type;
        script += ");";
    }
    script += "COMMIT;";
    const int code = sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        DatabaseError failure = sqliteFailure(db, file, code, "creating the tables");
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw failure;
    }
}

void checkTables(sqlite3* db, const std::string& file)
{
    for (const Table& table : tables()) {
        SqliteStatement info(db, "PRAGMA table_info(" + quotedName(table.name) + ")", file);
        std::set<std::string> present;
        while (info.step())
            present.insert(fieldText(info.column(1)));
        if (present.empty())
            throw DatabaseError(file, "the database has no table " + table.name);
        for (const Column& column : table.columns) {
            if (!present.count(column.name))
                throw DatabaseError(file, "the table " + table.name + " has no column " + column.name);
        }
    }
}

} // namespace

void prepareSchema(sqlite3* db, const std::string& file)
{
    if (hasNoTables(db, file))
        createTables(db, file);
    else
        checkTables(db, file);
}

} // namespace sedilo::store
