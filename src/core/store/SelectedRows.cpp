#include "store/SelectedRows.h"

#include <optional>
#include <utility>

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

// Rows read in rowid order, from then on seen in `order`.
void putInOrder(SelectedRows& rows, std::vector<std::uint32_t> order)
{
    std::vector<std::int64_t> rowIds;
    rowIds.reserve(order.size());
    for (const std::uint32_t place : order)
        rowIds.push_back(rows.rowIds[place]);
    rows.rowIds = std::move(rowIds);
    rows.placeOf = std::move(order);
}

// The rows in rowid order, then put in the key's stable order: the order
// SQLite gives "order by C, rowid", without its single-threaded sorter
// spilling to a temporary file.
void readSortedHere(Connection& connection, const SingleColumnOrder& order, OrderedValues::Collation collation,
                    const std::vector<std::string>& columns, SelectedRows& rows)
{
    std::string sql = "select _rowid_, " + quotedName(order.column);
    for (const std::string& column : columns)
        sql += ", " + quotedName(column);
    sql += " from " + quotedName(order.table) + " order by _rowid_";
    SqliteStatement statement(connection.handle(), sql, connection.filePath());
    OrderedValues keys(collation);
    std::vector<std::int64_t> rowIds;
    std::string scratch;
    while (statement.step()) {
        rowIds.push_back(std::get<std::int64_t>(statement.column(0)));
        keys.append(statement, 1);
        for (std::size_t i = 0; i < columns.size(); ++i)
            rows.texts.append(statement.columnText(static_cast<int>(i) + 2, scratch));
    }
    rows.rowIds = std::move(rowIds);
    putInOrder(rows, keys.stableOrder(order.descending));
}

// Any other select, read as SQLite orders it.
void readAsOrdered(Connection& connection, const std::string& select, const std::vector<std::string>& columns,
                   SelectedRows& rows)
{
    const SelectPlan plan = planSelect(select, columns);
    if (plan.table.empty())
        throw DatabaseError(connection.filePath(), "the rows of this statement cannot be written back: " + select);
    rows.table = plan.table;
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
    std::string scratch;
    while (statement.step()) {
        for (const int column : at)
            rows.texts.append(statement.columnText(column, scratch));
        rows.rowIds.push_back(std::get<std::int64_t>(statement.column(0)));
    }
}

} // namespace

void sortByText(SelectedRows& rows, std::size_t column, OrderedValues::Collation collation, bool descending)
{
    OrderedValues keys(collation);
    for (std::size_t row = 0; row < rows.size(); ++row)
        keys.appendText(rows.text(row, column));
    putInOrder(rows, keys.stableOrder(descending));
}

SelectedRows readSelectedRows(Connection& connection, const std::string& select,
                              const std::vector<std::string>& columns)
{
    if (!connection.isOpen())
        throw DatabaseError(connection.filePath(), "the connection is not open");
    connection.logStatement(select);
    connection.commitWriteBatch();
    SelectedRows rows;
    rows.columns = columns.size();
    if (const auto order = singleColumnOrder(select); order && !columns.empty()) {
        if (const auto collation = sortableHere(connection, *order, columns)) {
            rows.table = order->table;
            readSortedHere(connection, *order, *collation, columns, rows);
            return rows;
        }
    }
    readAsOrdered(connection, select, columns, rows);
    return rows;
}

} // namespace sedilo::store
