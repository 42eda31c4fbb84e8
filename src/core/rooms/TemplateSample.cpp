#include "rooms/TemplateSample.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "services/Messages.h"
#include "services/ShellFolders.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"
#include "services/ShippedFiles.h"

namespace sedilo::rooms {

namespace fs = std::filesystem;

namespace {
constexpr const char* kSampleName = "ksmb.xlsx";

fs::path makeFreshFolder()
{
    std::string pattern = (fs::temp_directory_path() / "sedilo-ksmb-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        const int cause = errno; // the message's allocations may change it
        throw std::runtime_error("无法建立临时文件夹“" + pattern + "”：" + std::strerror(cause));
    }
    return fs::path(buffer.data());
}

// The copy stays after we return: the desktop application reads it later.
std::string copySampleReadOnly(const fs::path& sample)
{
    if (!fs::is_regular_file(sample))
        throw std::runtime_error("找不到模板样例文件“" + sample.string() + "”。");
    const fs::path copy = makeFreshFolder() / sample.filename();
    fs::copy_file(sample, copy);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    return copy.string();
}
} // namespace

std::string templateSamplePath(const std::string& executableFolder)
{
    return shippedFile(executableFolder, kSampleName);
}

std::string OpenTemplateSample(const std::string& executableFolder, ShellDialogs& dialogs, Prompt& prompt)
{
    std::string copy;
    std::string cause;
    try {
        copy = copySampleReadOnly(templateSamplePath(executableFolder));
        if (!dialogs.openDocument(copy)) {
            std::error_code ignored;
            fs::remove_all(fs::path(copy).parent_path(), ignored);
            ReportNoDesktopHandler(prompt, messages::kNoExcel, copy);
            return {};
        }
    } catch (const std::exception& error) {
        cause = error.what();
    }
    if (!cause.empty()) {
        if (!copy.empty()) {
            std::error_code ignored;
            fs::remove_all(fs::path(copy).parent_path(), ignored);
        }
        prompt.error(messages::kNoExcel, cause);
        return {};
    }
    return copy;
}

} // namespace sedilo::rooms
