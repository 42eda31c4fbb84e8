#pragma once

#include <string>
#include <string_view>

#include "store/DatabaseError.h"
#include "store/Field.h"

struct sqlite3;
struct sqlite3_stmt;

namespace sedilo::store {

// The DatabaseError for a failed SQLite call: the file, what was being done,
// and SQLite's own words for the cause.
DatabaseError sqliteFailure(sqlite3* db, const std::string& file, int code, const std::string& doing);

// A table or column name as an SQL identifier: in double quotes, inner quotes doubled.
std::string quotedName(const std::string& name);

// A prepared statement that is finalized when dropped.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const std::string& sql, const std::string& file);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // True while a row is available; false once the statement is done.
    bool step();
    void reset();
    // Ready to step again, the bindings left in place for the next ones to replace.
    void rewind();
    void bind(int index, const Field& value);
    // The same as binding the text as a Field, without making one.
    void bindText(int index, std::string_view text);
    // The same without a copy: the text must stay as it is until the next step.
    void bindTextInPlace(int index, std::string_view text);
    // A Field whose text, if it holds one, stays as it is until the next step.
    void bindInPlace(int index, const Field& value);
    // Rows the connection's last finished write changed.
    int changes() const;

    int columnCount() const;
    std::string columnName(int index) const;
    Field column(int index) const;
    // fieldText(column(index)) without a copy when the value is a text: the
    // view lasts until the next step; other values are written to `scratch`.
    std::string_view columnText(int index, std::string& scratch) const;
    // The value's storage class: SQLITE_NULL, _INTEGER, _FLOAT, _TEXT or _BLOB.
    int columnType(int index) const;
    // A text's or blob's bytes without a copy, lasting until the next step.
    std::string_view columnBytes(int index) const;

private:
    void finalize() noexcept;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    std::string m_file;
    std::string m_sql;
};

} // namespace sedilo::store
