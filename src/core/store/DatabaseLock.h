#pragma once

#include <mutex>
#include <string>

namespace sedilo::store {

enum class LockMode { Shared, Exclusive };

// One action at a time on a database file, across programs: an flock() on the
// sidecar file `<database>.lock`. The kernel drops it when the program ends in
// any way, and it is independent of the POSIX locks SQLite takes on the
// database itself (which SQLite drops whenever any descriptor of the file in
// the process closes). Holds nest: an action inside a held run reuses the hold.
class DatabaseLock {
public:
    DatabaseLock(std::string databaseFile, int waitMilliseconds);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    // Waits up to the wait time for other programs' holds to end, then throws
    // a Failure of kind DatabaseInUse.
    void acquire(LockMode mode);
    void release();

private:
    int openLockFile() const;

    std::string m_databaseFile;
    int m_waitMilliseconds;
    std::mutex m_mutex;
    int m_fd = -1;
    int m_depth = 0;
    LockMode m_mode = LockMode::Shared;
};

// Holds a DatabaseLock for its lifetime.
class DatabaseHold {
public:
    DatabaseHold(DatabaseLock& lock, LockMode mode) : m_lock(&lock) { m_lock->acquire(mode); }
    ~DatabaseHold() { if (m_lock) m_lock->release(); }
    DatabaseHold(DatabaseHold&& other) noexcept : m_lock(other.m_lock) { other.m_lock = nullptr; }
    DatabaseHold(const DatabaseHold&) = delete;
    DatabaseHold& operator=(const DatabaseHold&) = delete;
    DatabaseHold& operator=(DatabaseHold&&) = delete;

private:
    DatabaseLock* m_lock;
};

} // namespace sedilo::store
