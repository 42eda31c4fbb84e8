#pragma once

#include <string>
#include <vector>

#include <sqlite3.h>

#include "store/SeatingDatabase.h"

namespace sedilo::test {

// Reads a table through a second, plain SQLite connection: what another
// program would see on disk, one text per column joined by "|" per row.
inline std::vector<std::string> rowsOnDisk(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::vector<std::string> rows;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                std::string row;
                for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                    const auto* text = sqlite3_column_text(statement, i);
                    row += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "");
                }
                rows.push_back(row);
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return rows;
}

inline void runOnDisk(const std::string& file, const std::string& script)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Appends one row, setting the given columns in order.
inline void appendRow(store::Recordset& recordset, const std::vector<std::pair<std::string, store::Field>>& values)
{
    recordset.addNew();
    for (const auto& [column, value] : values)
        recordset.setValue(column, value);
    recordset.update();
}

} // namespace sedilo::test
