#include "store/SqliteStatement.h"

#include <utility>

#include <sqlite3.h>

#include "services/failure/FileErrorCause.h"

namespace sedilo::store {

namespace {

std::string describe(int code)
{
    switch (code & 0xFF) {
    case SQLITE_NOTADB: return "the file is not a usable database";
    case SQLITE_CORRUPT: return "the database file is damaged";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "the database file is locked by another program";
    case SQLITE_CANTOPEN: return "the database file cannot be opened";
    case SQLITE_READONLY: return "the database file cannot be written";
    case SQLITE_PERM:
    case SQLITE_AUTH: return "access to the database file is denied";
    case SQLITE_FULL: return "the disk is full";
    case SQLITE_IOERR: return "the database file cannot be read or written";
    default: return "the database reported an error";
    }
}

} // namespace

DatabaseError sqliteFailure(sqlite3* db, const std::string& file, int code, const std::string& doing)
{
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    std::string detail = describe(code) + " while " + doing + " (" + message + ")";
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DatabaseError(file, detail, CauseKind::DatabaseInUse);
    case SQLITE_FULL:
        return DatabaseError(file, detail, CauseKind::DiskFull);
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return DatabaseError(file, detail, CauseKind::FileNotWritable);
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR: {
        // The file system's own refusal says more: a missing or read-only folder.
        const int systemError = db ? sqlite3_system_errno(db) : 0;
        if (systemError != 0)
            return DatabaseError(FileErrorCause(systemError, file, FileAccess::Write, file + ": " + detail));
        return DatabaseError(file, detail);
    }
    default:
        return DatabaseError(file, detail);
    }
}

std::string quotedName(const std::string& name)
{
    std::string out = "\"";
    for (char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

SqliteStatement::SqliteStatement(sqlite3* db, const std::string& sql, const std::string& file)
    : m_db(db), m_file(file), m_sql(sql)
{
    const int code = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_statement, nullptr);
    if (code != SQLITE_OK) {
        // The message is read before finalizing, which may replace it.
        DatabaseError failure = sqliteFailure(db, file, code, "preparing \"" + sql + "\"");
        finalize();
        throw failure;
    }
}

SqliteStatement::~SqliteStatement()
{
    finalize();
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)),
      m_file(std::move(other.m_file)), m_sql(std::move(other.m_sql))
{
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        finalize();
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
        m_file = std::move(other.m_file);
        m_sql = std::move(other.m_sql);
    }
    return *this;
}

void SqliteStatement::finalize() noexcept
{
    if (m_statement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
}

bool SqliteStatement::step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    DatabaseError failure = sqliteFailure(m_db, m_file, code, "running \"" + m_sql + "\"");
    sqlite3_reset(m_statement);
    throw failure;
}

void SqliteStatement::reset()
{
    rewind();
    sqlite3_clear_bindings(m_statement);
}

void SqliteStatement::rewind()
{
    sqlite3_reset(m_statement);
}

int SqliteStatement::changes() const
{
    return sqlite3_changes(m_db);
}

namespace {

int bindTextAs(sqlite3_stmt* statement, int index, std::string_view text, sqlite3_destructor_type lifetime)
{
    // A null pointer would bind NULL: an empty text stays a text.
    const char* data = text.data() ? text.data() : "";
    return sqlite3_bind_text(statement, index, data, static_cast<int>(text.size()), lifetime);
}

} // namespace

void SqliteStatement::bindText(int index, std::string_view text)
{
    if (const int code = bindTextAs(m_statement, index, text, SQLITE_TRANSIENT); code != SQLITE_OK)
        throw sqliteFailure(m_db, m_file, code, "binding a value for \"" + m_sql + "\"");
}

void SqliteStatement::bindTextInPlace(int index, std::string_view text)
{
    if (const int code = bindTextAs(m_statement, index, text, SQLITE_STATIC); code != SQLITE_OK)
        throw sqliteFailure(m_db, m_file, code, "binding a value for \"" + m_sql + "\"");
}

void SqliteStatement::bindInPlace(int index, const Field& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return bindTextInPlace(index, *text);
    bind(index, value);
}

void SqliteStatement::bind(int index, const Field& value)
{
    int code = SQLITE_OK;
    if (const auto* text = std::get_if<std::string>(&value))
        return bindText(index, *text);
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        code = sqlite3_bind_int64(m_statement, index, *whole);
    else if (const auto* real = std::get_if<double>(&value))
        code = sqlite3_bind_double(m_statement, index, *real);
    else
        code = sqlite3_bind_null(m_statement, index);
    if (code != SQLITE_OK)
        throw sqliteFailure(m_db, m_file, code, "binding a value for \"" + m_sql + "\"");
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

std::string SqliteStatement::columnName(int index) const
{
    const char* name = sqlite3_column_name(m_statement, index);
    return name ? name : "";
}

std::string_view SqliteStatement::columnText(int index, std::string& scratch) const
{
    if (sqlite3_column_type(m_statement, index) != SQLITE_TEXT) {
        scratch = fieldText(column(index));
        return scratch;
    }
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, index));
    return {data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(m_statement, index))};
}

int SqliteStatement::columnType(int index) const
{
    return sqlite3_column_type(m_statement, index);
}

std::string_view SqliteStatement::columnBytes(int index) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, index));
    return {data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(m_statement, index))};
}

Field SqliteStatement::column(int index) const
{
    switch (sqlite3_column_type(m_statement, index)) {
    case SQLITE_INTEGER:
        return std::int64_t{sqlite3_column_int64(m_statement, index)};
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, index);
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return std::string(columnBytes(index));
    default:
        return std::monostate{};
    }
}

} // namespace sedilo::store
