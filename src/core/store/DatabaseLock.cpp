#include "store/DatabaseLock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "services/failure/Failure.h"

namespace sedilo::store {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);

bool tryLock(int fd, LockMode mode)
{
    const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    while (flock(fd, operation) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

DatabaseLock::DatabaseLock(std::string databaseFile, int waitMilliseconds)
    : m_databaseFile(std::move(databaseFile)), m_waitMilliseconds(waitMilliseconds)
{
}

DatabaseLock::~DatabaseLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int DatabaseLock::openLockFile() const
{
    // The lock file is never removed: unlinking it while another program
    // waits on it would let a third one lock a new file beside the old.
    const std::string lockFile = m_databaseFile + ".lock";
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    // A folder that takes no new file: lock the database itself (flock and
    // SQLite's fcntl locks do not meet on a local file system).
    if (fd < 0)
        fd = ::open(m_databaseFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    return fd;
}

void DatabaseLock::acquire(LockMode mode)
{
    std::lock_guard guard(m_mutex);
    if (m_depth > 0 && (m_mode == LockMode::Exclusive || mode == LockMode::Shared)) {
        ++m_depth;
        return;
    }
    if (m_fd < 0)
        m_fd = openLockFile();
    if (m_fd < 0) {
        // No file to lock: the database cannot exist yet either, and opening
        // it reports that.
        ++m_depth;
        m_mode = mode;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_waitMilliseconds);
    while (!tryLock(m_fd, mode)) {
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            const std::string reason = errno == EWOULDBLOCK ? "in use by another program" : std::strerror(errno);
            if (m_depth == 0) {
                ::close(m_fd);
                m_fd = -1;
            }
            throw Failure({.kind = CauseKind::DatabaseInUse,
                           .file = m_databaseFile,
                           .detail = "the database is " + reason});
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    ++m_depth;
    m_mode = mode;
}

void DatabaseLock::release()
{
    std::lock_guard guard(m_mutex);
    if (m_depth == 0 || --m_depth > 0)
        return;
    if (m_fd >= 0) {
        ::close(m_fd); // drops the flock
        m_fd = -1;
    }
}

} // namespace sedilo::store
