#include "rooms/TemplateFile.h"

#include <filesystem>
#include <system_error>

namespace sedilo::rooms {

bool templateFileExists(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code error;
    // An unreadable folder on the way counts as "not there", never as a failure.
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

} // namespace sedilo::rooms
