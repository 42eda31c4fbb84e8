#include "store/Connection.h"

#include <exception>

#include <sqlite3.h>

#include "store/DatabaseError.h"
#include "store/PinyinCollation.h"
#include "store/Schema.h"
#include "store/SqliteStatement.h"

namespace sedilo::store {

namespace {

// Long enough to outlast another program's short write, short enough that a
// file held locked ends the action with a message instead of a hang.
constexpr int kBusyTimeoutMs = 2000;

// SQLite counts every allocation under a global mutex unless told not to;
// nothing here reads those counts. Possible only before SQLite starts.
void configureSqliteOnce()
{
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
}

} // namespace

Connection::Connection(std::string filePath, StatementLog log, Threading threading, Durability durability)
    : m_filePath(std::move(filePath)), m_log(std::move(log)), m_threading(threading), m_durability(durability)
{
}

Connection::~Connection()
{
    try {
        close();
    } catch (...) {
        // A destructor cannot report; close() already released the handle.
    }
}

void Connection::open()
{
    close();
    configureSqliteOnce();
    sqlite3* db = nullptr;
    const int mutex = m_threading == Threading::OneThreadAtATime ? SQLITE_OPEN_NOMUTEX : SQLITE_OPEN_FULLMUTEX;
    const int code = sqlite3_open_v2(m_filePath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | mutex, nullptr);
    m_db = db;
    try {
        if (code != SQLITE_OK)
            throw sqliteFailure(db, m_filePath, code, "opening");
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        registerPinyinCollation(db, m_filePath);
        if (m_durability == Durability::Scratch)
            run("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY", "setting up a scratch database");
        prepareSchema(db, m_filePath);
    } catch (...) {
        closeHandle();
        throw;
    }
}

bool Connection::isOpen() const
{
    return m_db != nullptr;
}

void Connection::close()
{
    if (!m_db)
        return;
    std::exception_ptr failure;
    try {
        commitWriteBatch();
    } catch (...) {
        failure = std::current_exception();
    }
    auto resultSets = std::move(m_resultSets);
    m_resultSets.clear();
    for (auto& [id, closer] : resultSets)
        closer();
    closeHandle();
    if (failure)
        std::rethrow_exception(failure);
}

void Connection::closeHandle() noexcept
{
    // Closing a handle with an open transaction rolls it back: an explicit
    // transaction never committed leaves nothing behind.
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_batchOpen = false;
    m_explicitTransaction = false;
}

void Connection::requireOpen() const
{
    if (!m_db)
        throw DatabaseError(m_filePath, "the connection is not open");
}

void Connection::run(const char* sql, const std::string& doing)
{
    const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        throw sqliteFailure(m_db, m_filePath, code, doing);
}

void Connection::logStatement(const std::string& sql) const
{
    if (m_log)
        m_log(sql);
}

void Connection::execute(const std::string& sql)
{
    requireOpen();
    logStatement(sql);
    commitWriteBatch();
    run(sql.c_str(), "running \"" + sql + "\"");
}

void Connection::beginWriteBatch()
{
    requireOpen();
    if (!m_batchOpen && sqlite3_get_autocommit(m_db)) {
        run("BEGIN", "starting to write");
        m_batchOpen = true;
    }
}

void Connection::commitWriteBatch()
{
    if (!m_batchOpen || !m_db)
        return;
    m_batchOpen = false;
    if (sqlite3_get_autocommit(m_db))
        return; // SQLite already ended it after a failed write
    const int code = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        DatabaseError failure = sqliteFailure(m_db, m_filePath, code, "saving the rows written");
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw failure;
    }
}

void Connection::rollbackWriteBatch()
{
    if (!m_batchOpen || !m_db)
        return;
    m_batchOpen = false;
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Connection::beginTransaction()
{
    requireOpen();
    commitWriteBatch();
    if (m_explicitTransaction)
        throw DatabaseError(m_filePath, "a transaction is already open");
    run("BEGIN IMMEDIATE", "starting a transaction");
    m_explicitTransaction = true;
}

void Connection::commit()
{
    requireOpen();
    if (!m_explicitTransaction)
        throw DatabaseError(m_filePath, "there is no transaction to commit");
    run("COMMIT", "committing a transaction");
    m_explicitTransaction = false;
}

void Connection::rollback()
{
    if (!m_explicitTransaction || !m_db)
        return;
    m_explicitTransaction = false;
    if (!sqlite3_get_autocommit(m_db))
        run("ROLLBACK", "rolling back a transaction");
}

bool Connection::inTransaction() const
{
    return m_explicitTransaction;
}

std::size_t Connection::attachResultSet(std::function<void()> closer)
{
    const std::size_t id = m_nextResultSetId++;
    m_resultSets.emplace(id, std::move(closer));
    return id;
}

void Connection::detachResultSet(std::size_t id)
{
    m_resultSets.erase(id);
}

} // namespace sedilo::store
