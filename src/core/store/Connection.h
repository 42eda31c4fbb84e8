#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>

struct sqlite3;

namespace sedilo::store {

using StatementLog = std::function<void(const std::string& sql)>;

// Whether SQLite guards each call with the connection's mutex. A front end
// that never uses a connection from two threads at once can do without: the
// lock around every bind, step and column read is a tenth of a city's import.
enum class Threading { Serialized, OneThreadAtATime };

// Whether the file must survive a crash or a power cut. One that lives only
// as long as a batch run does not: its commits skip the syncs to the disk and
// its rollback journal stays in memory, rollbacks working as before.
enum class Durability { Kept, Scratch };

// One open connection to the seating database file.
class Connection {
public:
    Connection(std::string filePath, StatementLog log, Threading threading = Threading::Serialized,
               Durability durability = Durability::Kept);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file, creating it and the three tables when missing, and checks
    // that the tables and columns the system uses are there.
    void open();
    bool isOpen() const;
    void close();

    // Runs a statement without result (the delete statements).
    void execute(const std::string& sql);

    // All-or-nothing groups of writes; rollback() is a no-op without a transaction.
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    const std::string& filePath() const { return m_filePath; }
    sqlite3* handle() const { return m_db; }
    void logStatement(const std::string& sql) const;

    // Rows written outside an explicit transaction go into one implicit batch
    // (one disk sync instead of one per row). The batch is committed before
    // any other statement runs, on close() and on destruction, so every exit
    // path keeps what was written.
    void beginWriteBatch();
    void commitWriteBatch();
    // Drops what the open batch wrote.
    void rollbackWriteBatch();

    // Result sets opened here register a closer; closing the connection closes them.
    std::size_t attachResultSet(std::function<void()> closer);
    void detachResultSet(std::size_t id);

private:
    void requireOpen() const;
    void run(const char* sql, const std::string& doing);
    void closeHandle() noexcept;

    std::string m_filePath;
    StatementLog m_log;
    Threading m_threading;
    Durability m_durability;
    sqlite3* m_db = nullptr;
    bool m_batchOpen = false;
    bool m_explicitTransaction = false;
    std::size_t m_nextResultSetId = 0;
    std::map<std::size_t, std::function<void()>> m_resultSets;
};

// Commits on commit(), rolls back when left otherwise (an exception).
class Transaction {
public:
    explicit Transaction(Connection& connection) : m_connection(connection) { m_connection.beginTransaction(); }
    ~Transaction() { if (!m_done) { try { m_connection.rollback(); } catch (...) {} } }
    void commit() { m_connection.commit(); m_done = true; }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection& m_connection;
    bool m_done = false;
};

} // namespace sedilo::store
