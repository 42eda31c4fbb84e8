#include "services/workbook/Workbook.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "services/failure/FileErrorCause.h"
#include "services/failure/Failure.h"
#include "services/workbook/XlsxSheetStream.h"
#include "services/workbook/XlsxWorkbook.h"
#if __has_include("services/workbook/xls/XlsWorkbook.h")
#include "services/workbook/xls/XlsWorkbook.h"
#define SEDILO_HAS_XLS 1
#endif

namespace sedilo::workbook {

namespace {

// Far above any workbook a seat chart or an examinee list needs.
constexpr off_t kFileLimit = 512LL * 1024 * 1024;

WorkbookError notARegularFile(const std::string& path, const struct stat& info)
{
    const char* what = S_ISDIR(info.st_mode)    ? "a folder"
                       : S_ISFIFO(info.st_mode) ? "a FIFO"
                       : S_ISSOCK(info.st_mode) ? "a socket"
                                                : "a device";
    return WorkbookError(CauseKind::NotARegularFile, path, std::string("not a file but ") + what);
}

std::shared_ptr<const std::string> readWholeFile(const std::string& path)
{
    // A FIFO, device or socket is refused before it is opened (opening a FIFO
    // blocks until a writer comes); O_NONBLOCK covers one swapped in meanwhile.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        throw notARegularFile(path, info);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int failure = errno;
        throw WorkbookError(
            FileErrorCause(failure, path, FileAccess::Read, std::string("cannot open the file: ") + std::strerror(failure)));
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw notARegularFile(path, info);
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

bool isZip(std::string_view head)
{
    return head.starts_with("PK\x03\x04") || head.starts_with("PK\x05\x06");
}

// Running out of memory on a workbook is the workbook being too large for
// this machine, and says so with its name.
template <typename Work>
auto namingTheFile(const std::string& path, Work work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        throw Failure({.kind = CauseKind::WorkbookTooLarge,
                       .file = path,
                       .detail = "not enough memory to read the workbook: it is too large"});
    }
}

} // namespace

bool streamXlsxFirstSheet(const std::string& path, SheetCellVisitor& visitor)
{
    return namingTheFile(path, [&] {
        auto bytes = readWholeFile(path);
        if (!isZip(*bytes))
            return false;
        XlsxSheetStream::read(path, std::move(bytes), visitor);
        return true;
    });
}

namespace {

std::unique_ptr<Workbook> openAnyFormat(const std::string& path)
{
    auto bytes = readWholeFile(path);
    const std::string_view head(*bytes);
    if (isZip(head))
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

} // namespace

std::unique_ptr<Workbook> Workbook::open(const std::string& path)
{
    return namingTheFile(path, [&] { return openAnyFormat(path); });
}

} // namespace sedilo::workbook
