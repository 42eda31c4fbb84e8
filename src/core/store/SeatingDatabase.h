#pragma once

#include <memory>
#include <string>

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/DatabaseLock.h"
#include "store/Recordset.h"

namespace sedilo::store {

// `data.mdb` in `folder`: the separator is added unless the folder ends with it.
std::string databasePathInFolder(const std::string& folder);

// The seating database and the shared handles every database user reuses.
class SeatingDatabase {
public:
    explicit SeatingDatabase(std::string filePath, Threading threading = Threading::Serialized,
                             Durability durability = Durability::Kept);

    const std::string& filePath() const { return m_filePath; }

    // Every action holds the database from its first statement to its end:
    // exclusively when it writes, shared when it only reads. Another program
    // holding it is waited for a moment, then a Failure (DatabaseInUse) is thrown.
    DatabaseHold hold(LockMode mode) { return DatabaseHold(m_lock, mode); }

    // Every statement issued through this database is passed to the log.
    void setStatementLog(StatementLog log) { m_log = std::move(log); }

    // Replaces SharedConnection with a new, opened connection. Throws DatabaseError.
    // While a stale working copy is pending, it is emptied first thing.
    void OpenDataConnection();

    // The working copy still holds a previous run's arrangement that start-up
    // could not empty: every later opening tries again until it succeeds, and
    // meanwhile the arrangement must not be trusted.
    void markWorkingCopyStale() { m_staleWorkingCopy = true; }
    bool workingCopyStale() const { return m_staleWorkingCopy; }

    Connection& SharedConnection();
    Recordset& SharedRecordset() { return *m_sharedRecordset; }
    Recordset& CopyRecordset() { return *m_copyRecordset; }

    // Replace the shared result sets with new, unopened ones.
    void replaceSharedRecordset();
    void replaceCopyRecordset();

    // Closes the shared result sets and the connection (end of an action).
    void closeAll();

private:
    std::string m_filePath;
    DatabaseLock m_lock;
    StatementLog m_log;
    Threading m_threading;
    Durability m_durability;
    bool m_staleWorkingCopy = false;
    std::unique_ptr<Connection> m_sharedConnection;
    std::unique_ptr<Recordset> m_sharedRecordset;
    std::unique_ptr<Recordset> m_copyRecordset;
};

} // namespace sedilo::store
