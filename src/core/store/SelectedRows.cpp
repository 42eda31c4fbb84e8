#include "store/SelectedRows.h"

#include <optional>

#include <sqlite3.h>

#include "services/text/TextArena.h"
#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/OrderedValues.h"
#include "store/PinyinCollation.h"
#include "store/SelectPlan.h"
#include "store/SqliteStatement.h"

namespace sedilo::store {

namespace {

bool isUtf8(Connection& connection)
{
    SqliteStatement encoding(connection.handle(), "PRAGMA encoding", connection.filePath());
    std::string scratch;
    return encoding.step() && encoding.columnText(0, scratch) == "UTF-8";
}

// The collation the ORDER BY would use, when it is one sorted here too and
// every column named is the table's own.
std::optional<OrderedValues::Collation> sortableHere(Connection& connection, const SingleColumnOrder& order,
                                                     const std::vector<std::string>& columns)
{
    const auto collationOf = [&](const std::string& column) -> std::optional<std::string> {
        const char* collation = nullptr;
        if (sqlite3_table_column_metadata(connection.handle(), "main", order.table.c_str(), column.c_str(), nullptr,
                                          &collation, nullptr, nullptr, nullptr) != SQLITE_OK)
            return std::nullopt;
        return std::string(collation ? collation : "BINARY");
    };
    for (const std::string& column : columns) {
        if (!collationOf(column))
            return std::nullopt;
    }
    const auto declared = collationOf(order.column);
    if (!declared || !isUtf8(connection))
        return std::nullopt;
    const std::string collation = lowered(*declared);
    if (collation == "binary")
        return OrderedValues::Collation::Binary;
    if (collation == lowered(kPinyinCollation))
        return OrderedValues::Collation::Pinyin;
    return std::nullopt;
}

// The rows in rowid order, then put in the key's stable order: the order
// SQLite gives "order by C, rowid", without its single-threaded sorter
// spilling to a temporary file.
void visitSortedHere(Connection& connection, const SingleColumnOrder& order, OrderedValues::Collation collation,
                     const std::vector<std::string>& columns,
                     const std::function<void(std::int64_t, const std::vector<std::string_view>&)>& visit)
{
    std::string sql = "select _rowid_, " + quotedName(order.column);
    for (const std::string& column : columns)
        sql += ", " + quotedName(column);
    sql += " from " + quotedName(order.table) + " order by _rowid_";
    SqliteStatement statement(connection.handle(), sql, connection.filePath());
    OrderedValues keys(collation);
    std::vector<std::int64_t> rowIds;
    TextArena texts;
    std::string scratch;
    while (statement.step()) {
        rowIds.push_back(std::get<std::int64_t>(statement.column(0)));
        keys.append(statement, 1);
        for (std::size_t i = 0; i < columns.size(); ++i)
            texts.append(statement.columnText(static_cast<int>(i) + 2, scratch));
    }
    const std::vector<std::uint32_t> sorted = keys.stableOrder(order.descending);
    std::vector<std::string_view> row(columns.size());
    for (const std::uint32_t at : sorted) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            row[i] = texts.at(at * columns.size() + i);
        visit(rowIds[at], row);
    }
}

} // namespace

std::string forEachSelectedRow(
    Connection& connection, const std::string& select, const std::vector<std::string>& columns,
    const std::function<void(std::int64_t rowId, const std::vector<std::string_view>& texts)>& visit)
{
    if (!connection.isOpen())
        throw DatabaseError(connection.filePath(), "the connection is not open");
    connection.logStatement(select);
    connection.commitWriteBatch();
    if (const auto order = singleColumnOrder(select); order && !columns.empty()) {
        if (const auto collation = sortableHere(connection, *order, columns)) {
            visitSortedHere(connection, *order, *collation, columns, visit);
            return order->table;
        }
    }
    const SelectPlan plan = planSelect(select, columns);
    if (plan.table.empty())
        throw DatabaseError(connection.filePath(), "the rows of this statement cannot be written back: " + select);
    SqliteStatement statement(connection.handle(), plan.sql, connection.filePath());
    std::vector<int> at;
    for (const std::string& column : columns) {
        int found = -1;
        for (int i = 1; i < statement.columnCount() && found < 0; ++i) {
            if (statement.columnName(i) == column)
                found = i;
        }
        if (found < 0)
            throw DatabaseError(connection.filePath(), "the result set has no column " + column);
        at.push_back(found);
    }
    std::vector<std::string_view> texts(columns.size());
    std::vector<std::string> scratch(columns.size());
    while (statement.step()) {
        for (std::size_t i = 0; i < at.size(); ++i)
            texts[i] = statement.columnText(at[i], scratch[i]);
        visit(std::get<std::int64_t>(statement.column(0)), texts);
    }
    return plan.table;
}

} // namespace sedilo::store
