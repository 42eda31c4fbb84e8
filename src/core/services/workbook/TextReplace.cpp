#include "services/workbook/TextReplace.h"

namespace sedilo::workbook {

namespace {

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool holdsAsciiLetter(std::string_view text)
{
    for (const char c : text)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            return true;
    return false;
}

std::size_t findFolded(std::string_view text, std::string_view what, std::size_t from)
{
    // Without a letter to fold, only the very bytes match: the Chinese words
    // of a seat chart are found as they are.
    if (!holdsAsciiLetter(what))
        return text.find(what, from);
    const char first = foldAscii(what.front());
    for (std::size_t pos = from; pos + what.size() <= text.size(); ++pos) {
        if (foldAscii(text[pos]) != first)
            continue;
        std::size_t i = 1;
        while (i < what.size() && foldAscii(text[pos + i]) == foldAscii(what[i]))
            ++i;
        if (i == what.size())
            return pos;
    }
    return std::string_view::npos;
}

} // namespace

std::optional<std::string> replaceIgnoringAsciiCase(std::string_view text, std::string_view what,
                                                    std::string_view with)
{
    if (what.empty())
        return std::nullopt;
    std::size_t found = findFolded(text, what, 0);
    if (found == std::string_view::npos)
        return std::nullopt;
    std::string result;
    std::size_t from = 0;
    for (; found != std::string_view::npos; found = findFolded(text, what, from)) {
        result.append(text.substr(from, found - from));
        result.append(with);
        from = found + what.size();
    }
    result.append(text.substr(from));
    return result;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

} // namespace sedilo::workbook
