#include "PathOption.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "services/failure/Failure.h"

namespace sedilo::cli {

std::string absolutePathOption(const std::string& option, const std::string& text, std::string& path)
{
    if (text.empty())
        return option + " needs a path";
    if (std::isspace(static_cast<unsigned char>(text.front())) || std::isspace(static_cast<unsigned char>(text.back())))
        return option + " '" + text + "' begins or ends with a space; the path must be given without";
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(text, error);
    if (error)
        return option + " '" + text + "': " + error.message();
    path = absolute.string();
    return {};
}

void prepareOutputFolder(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder))
        throw Failure({.kind = error && !fs::exists(folder) ? CauseKind::FolderNotWritable : CauseKind::NotAFolder,
                       .file = folder,
                       .detail = error ? error.message() : "the output path is not a folder"});
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw Failure({.kind = CauseKind::FolderNotWritable, .file = folder, .detail = std::strerror(errno)});
}

} // namespace sedilo::cli
