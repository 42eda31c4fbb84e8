#include "store/SeatingDatabase.h"

#include <exception>

#include "store/Statements.h"

namespace sedilo::store {

namespace {
// Long enough for another program's short action (a room save, a clearing),
// short enough that a long one ends ours with a message instead of a hang.
constexpr int kLockWaitMs = 2000;
} // namespace

std::string databasePathInFolder(const std::string& folder)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + "data.mdb";
    return folder + "/data.mdb";
}

SeatingDatabase::SeatingDatabase(std::string filePath, Threading threading, Durability durability)
    : m_filePath(std::move(filePath)), m_lock(m_filePath, kLockWaitMs), m_threading(threading),
      m_durability(durability),
      m_sharedConnection(std::make_unique<Connection>(m_filePath, m_log, m_threading, m_durability)),
      m_sharedRecordset(std::make_unique<Recordset>()), m_copyRecordset(std::make_unique<Recordset>())
{
}

void SeatingDatabase::OpenDataConnection()
{
    // The new object is SharedConnection at once: when opening fails, the
    // next action finds an unopened connection and simply tries again.
    m_sharedConnection = std::make_unique<Connection>(m_filePath, m_log, m_threading, m_durability);
    m_sharedConnection->open();
    if (m_staleWorkingCopy) {
        try {
            m_sharedConnection->execute(sql::kDeleteWorkingCopy);
            m_staleWorkingCopy = false;
        } catch (const DatabaseError&) {
            // Still in use by another program: the action goes on, and the
            // next opening tries again.
        }
    }
}

Connection& SeatingDatabase::SharedConnection()
{
    return *m_sharedConnection;
}

void SeatingDatabase::replaceSharedRecordset()
{
    m_sharedRecordset = std::make_unique<Recordset>();
}

void SeatingDatabase::replaceCopyRecordset()
{
    m_copyRecordset = std::make_unique<Recordset>();
}

void SeatingDatabase::closeAll()
{
    std::exception_ptr failure;
    for (Recordset* recordset : {m_sharedRecordset.get(), m_copyRecordset.get()}) {
        try {
            recordset->close();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    try {
        m_sharedConnection->close();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace sedilo::store
