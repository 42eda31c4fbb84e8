#include "services/workbook/AtomicSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

namespace {

// Creates an empty file with a name no other writer uses; the mode follows the
// process's umask as for any new file.
std::string createTempBeside(const std::string& target)
{
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(entropy()));
        const std::string candidate = target + suffix;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            throw WorkbookError(target, std::string("cannot create a file there: ") + std::strerror(errno));
    }
    throw WorkbookError(target, "cannot create a temporary file beside it");
}

} // namespace

void saveAtomically(const std::string& target, const std::function<void(const std::string& tempPath)>& write)
{
    const std::string temp = createTempBeside(target);
    try {
        write(temp);
        if (std::rename(temp.c_str(), target.c_str()) != 0)
            throw WorkbookError(target, std::string("cannot replace the file: ") + std::strerror(errno));
    } catch (...) {
        std::remove(temp.c_str());
        throw;
    }
}

} // namespace sedilo::workbook
