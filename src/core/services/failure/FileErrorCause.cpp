#include "services/failure/FileErrorCause.h"

#include <cerrno>
#include <filesystem>

namespace sedilo {

namespace {

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

bool exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

} // namespace

Cause FileErrorCause(int errorNumber, const std::string& path, FileAccess access, std::string detail)
{
    Cause cause{.file = path, .detail = std::move(detail)};
    const bool writing = access == FileAccess::Write;
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        // Writing a file fails this way only when its folder is missing.
        if (writing || !exists(folderOf(path))) {
            cause.kind = CauseKind::FolderMissing;
            cause.file = folderOf(path);
        } else {
            cause.kind = CauseKind::FileMissing;
        }
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        if (!writing) {
            cause.kind = CauseKind::FileUnreadable;
        } else if (exists(path) && errorNumber != EROFS) {
            cause.kind = CauseKind::FileNotWritable;
        } else {
            cause.kind = CauseKind::FolderNotWritable;
            cause.file = folderOf(path);
        }
        break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        cause.kind = CauseKind::DiskFull;
        break;
    case ENAMETOOLONG:
    case EILSEQ:
        cause.kind = CauseKind::NotAFileName;
        cause.name = std::filesystem::path(path).filename().string();
        break;
    case EISDIR:
        cause.kind = CauseKind::NotARegularFile;
        break;
    case ENOMEM:
        cause.kind = CauseKind::OutOfMemory;
        break;
    case ETXTBSY:
    case EBUSY:
        cause.kind = CauseKind::FileNotWritable;
        break;
    default:
        cause.kind = writing ? CauseKind::FileNotWritable : CauseKind::FileUnreadable;
        break;
    }
    return cause;
}

} // namespace sedilo
