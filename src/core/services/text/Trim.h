#pragma once

#include <string>
#include <string_view>

namespace sedilo {

// Texts typed or read are trimmed of U+0020 only: tabs, U+3000 and every
// other character stay.
inline std::string trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// trimSpaces(text).empty(), without making the trimmed text.
inline bool onlySpaces(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// Replaces every occurrence of `what` (exact bytes) by `with`.
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with);

} // namespace sedilo
