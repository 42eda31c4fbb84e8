#include "services/workbook/AtomicSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <utility>
#include <unistd.h>

#include "services/failure/FileErrorCause.h"
#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

namespace {

struct TempFile {
    std::string path;
    int fd = -1;
};

// The temporary file does not exist yet, so a refusal is the folder's; the
// user is told about the file they asked for, not the temporary one.
Cause tempFileCause(int failure, const std::string& candidate, const std::string& target)
{
    Cause cause = FileErrorCause(failure, candidate, FileAccess::Write,
                                 std::string("cannot create a file there: ") + std::strerror(failure));
    if (cause.file == candidate)
        cause.file = target;
    if (cause.kind == CauseKind::NotAFileName)
        cause.name = std::filesystem::path(target).filename().string();
    return cause;
}

// Creates an empty file with a name no other writer uses; the mode follows the
// process's umask as for any new file.
TempFile createTempBeside(const std::string& target)
{
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(entropy()));
        const std::string candidate = target + suffix;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return {candidate, fd};
        const int failure = errno;
        if (failure != EEXIST)
            throw WorkbookError(tempFileCause(failure, candidate, target));
    }
    throw WorkbookError(CauseKind::FileNotWritable, target, "cannot create a temporary file beside it");
}

void renameOver(const std::string& temp, const std::string& target)
{
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        const int failure = errno;
        throw WorkbookError(FileErrorCause(failure, target, FileAccess::Write,
                                           std::string("cannot replace the file: ") + std::strerror(failure)));
    }
}

// Writes all of `content` to `fd`; the errno of the first failure, or 0.
int writeAll(int fd, std::string_view content)
{
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t step = ::write(fd, content.data() + written, content.size() - written);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return step < 0 ? errno : EIO;
        written += static_cast<std::size_t>(step);
    }
    return 0;
}

// Writes all of `content` and closes `fd`; the errno of the first failure, or 0.
int writeAndClose(int fd, std::string_view content)
{
    int failure = writeAll(fd, content);
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    return failure;
}

} // namespace

void saveAtomically(const std::string& target, const std::function<void(const std::string& tempPath)>& write)
{
    const TempFile temp = createTempBeside(target);
    ::close(temp.fd);
    try {
        write(temp.path);
        renameOver(temp.path, target);
    } catch (...) {
        std::remove(temp.path.c_str());
        throw;
    }
}

void saveAtomically(const std::string& target, std::string_view content)
{
    const TempFile temp = createTempBeside(target);
    const int failure = writeAndClose(temp.fd, content);
    try {
        if (failure != 0)
            throw WorkbookError(FileErrorCause(failure, target, FileAccess::Write,
                                               std::string("cannot write the file: ") + std::strerror(failure)));
        renameOver(temp.path, target);
    } catch (...) {
        std::remove(temp.path.c_str());
        throw;
    }
}

void saveAsNewFile(const std::string& target, std::string_view content)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int cause = errno;
        throw WorkbookError(FileErrorCause(cause, target, FileAccess::Write,
                                           std::string("cannot create a file there: ") + std::strerror(cause)));
    }
    if (const int failure = writeAndClose(fd, content); failure != 0) {
        std::remove(target.c_str());
        throw WorkbookError(FileErrorCause(failure, target, FileAccess::Write,
                                           std::string("cannot write the file: ") + std::strerror(failure)));
    }
}

std::optional<UnnamedFile> UnnamedFile::write(const std::string& folder, std::string_view content)
{
#ifdef O_TMPFILE
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return std::nullopt;
    UnnamedFile file(fd);
    if (writeAll(fd, content) != 0)
        return std::nullopt;
    return file;
#else
    (void)folder;
    (void)content;
    return std::nullopt;
#endif
}

UnnamedFile::~UnnamedFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

UnnamedFile::UnnamedFile(UnnamedFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

UnnamedFile& UnnamedFile::operator=(UnnamedFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool UnnamedFile::nameAs(const std::string& path)
{
    if (m_fd < 0)
        return false;
    // The handle's entry in /proc names the file for linkat without the
    // privilege an empty path would need.
    char handle[64];
    std::snprintf(handle, sizeof handle, "/proc/self/fd/%d", m_fd);
    return ::linkat(AT_FDCWD, handle, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

} // namespace sedilo::workbook
