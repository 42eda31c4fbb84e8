#include "store/SelectedRows.h"

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/SelectPlan.h"
#include "store/SqliteStatement.h"

namespace sedilo::store {

std::string forEachSelectedRow(
    Connection& connection, const std::string& select, const std::vector<std::string>& columns,
    const std::function<void(std::int64_t rowId, const std::vector<std::string_view>& texts)>& visit)
{
    if (!connection.isOpen())
        throw DatabaseError(connection.filePath(), "the connection is not open");
    connection.logStatement(select);
    connection.commitWriteBatch();
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
