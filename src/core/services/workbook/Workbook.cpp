#include "services/workbook/Workbook.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "services/failure/FileErrorCause.h"
#include "services/workbook/XlsxWorkbook.h"
#if __has_include("services/workbook/xls/XlsWorkbook.h")
#include "services/workbook/xls/XlsWorkbook.h"
#define SEDILO_HAS_XLS 1
#endif

namespace sedilo::workbook {

namespace {

// Far above any workbook a seat chart or an examinee list needs.
constexpr off_t kFileLimit = 512LL * 1024 * 1024;

std::shared_ptr<const std::string> readWholeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int failure = errno;
        throw WorkbookError(
            FileErrorCause(failure, path, FileAccess::Read, std::string("cannot open the file: ") + std::strerror(failure)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw WorkbookError(CauseKind::NotARegularFile, path, "not a file");
    }
    if (info.st_size > kFileLimit) {
        ::close(fd);
        throw WorkbookError(CauseKind::WorkbookTooLarge, path, "the file is too large for a workbook (" + std::to_string(info.st_size) + " bytes)");
    }
    auto bytes = std::make_shared<std::string>(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < bytes->size()) {
        const ssize_t got = ::read(fd, bytes->data() + filled, bytes->size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int cause = errno;
            ::close(fd);
            throw WorkbookError(
                FileErrorCause(cause, path, FileAccess::Read, std::string("cannot read the file: ") + std::strerror(cause)));
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    bytes->resize(filled);
    return bytes;
}

} // namespace

std::unique_ptr<Workbook> Workbook::open(const std::string& path)
{
    auto bytes = readWholeFile(path);
    const std::string_view head(*bytes);
    if (head.starts_with("PK\x03\x04") || head.starts_with("PK\x05\x06"))
        return openXlsx(path, std::move(bytes));
    if (head.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
#ifdef SEDILO_HAS_XLS
        bytes.reset();
        return openXls(path);
#else
        throw WorkbookError(CauseKind::UnsupportedWorkbookFormat, path, "legacy .xls workbooks cannot be read by this build");
#endif
    }
    if (head.empty())
        throw WorkbookError(CauseKind::NotAWorkbook, path, "not a workbook: the file is empty");
    throw WorkbookError(CauseKind::NotAWorkbook, path, "not a workbook");
}

} // namespace sedilo::workbook
