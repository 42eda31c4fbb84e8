#include "arrange/StagingFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "services/failure/Failure.h"

namespace sedilo::arrange {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = ".sedilo-staging-";
constexpr const char* kLockName = ".lock";

bool isAbandonedFolder(const fs::directory_entry& entry)
{
    std::error_code error;
    if (!entry.is_directory(error) || entry.is_symlink(error))
        return false;
    const int fd = ::open((entry.path() / kLockName).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno == ENOENT; // killed between making the folder and locking it
    const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

// The hidden workbooks earlier versions staged beside their targets:
// ".sedilo-" sixteen hex digits "-" the room's index, then the extension.
bool isOldStagedWorkbook(const fs::directory_entry& entry)
{
    static const std::regex kName(R"(\.sedilo-[0-9a-f]{16}-[0-9]+\.(xlsx|xlsm|xltx|xltm|xls)(\.[0-9a-f]{8}\.tmp)?)");
    std::error_code error;
    return entry.is_regular_file(error) && !entry.is_symlink(error) &&
           std::regex_match(entry.path().filename().string(), kName);
}

} // namespace

void removeAbandonedStaging(const std::string& outputFolder)
{
    std::error_code error;
    for (fs::directory_iterator it(outputFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(kPrefix, 0) == 0 && isAbandonedFolder(*it))
            fs::remove_all(it->path(), error);
        else if (isOldStagedWorkbook(*it))
            fs::remove(it->path(), error);
        error.clear();
    }
}

StagingFolder::StagingFolder(const std::string& outputFolder)
{
    removeAbandonedStaging(outputFolder);
    std::string pattern = (fs::path(outputFolder) / (std::string(kPrefix) + "XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw Failure({.kind = errno == ENOENT ? CauseKind::FolderMissing : CauseKind::FolderNotWritable,
                       .file = outputFolder,
                       .detail = std::string("cannot make a staging folder: ") + std::strerror(errno)});
    m_path = pattern;
    m_lockFd = ::open((fs::path(m_path) / kLockName).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (m_lockFd < 0 || flock(m_lockFd, LOCK_EX) != 0) {
        const int cause = errno;
        std::error_code ignored;
        if (m_lockFd >= 0)
            ::close(m_lockFd);
        fs::remove_all(m_path, ignored);
        throw Failure({.kind = CauseKind::FolderNotWritable,
                       .file = outputFolder,
                       .detail = std::string("cannot lock the staging folder: ") + std::strerror(cause)});
    }
}

StagingFolder::~StagingFolder()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
    ::close(m_lockFd);
}

} // namespace sedilo::arrange
