#include "services/ShippedFiles.h"

#include <filesystem>
#include <system_error>

namespace sedilo {

std::string shippedFile(const std::string& executableFolder, const std::string& name)
{
    const std::filesystem::path folder(executableFolder);
    const std::filesystem::path beside = folder / name;
    const std::filesystem::path installed = folder.parent_path() / "share" / "sedilo" / name;
    std::error_code error;
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error))
        return installed.string();
    return beside.string();
}

} // namespace sedilo
