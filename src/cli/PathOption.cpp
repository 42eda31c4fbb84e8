#include "PathOption.h"

#include <cctype>
#include <filesystem>

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

} // namespace sedilo::cli
