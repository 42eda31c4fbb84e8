#include "services/workbook/XmlSpan.h"

namespace sedilo::workbook {

namespace {

constexpr auto npos = std::string_view::npos;

std::size_t pastMarker(std::string_view xml, std::size_t from, std::string_view marker)
{
    const std::size_t found = xml.find(marker, from);
    return found == npos ? npos : found + marker.size();
}

} // namespace

std::size_t startTagEnd(std::string_view xml, std::size_t tagStart)
{
    for (std::size_t pos = tagStart + 1; pos < xml.size(); ++pos) {
        const char c = xml[pos];
        if (c == '"' || c == '\'') {
            pos = xml.find(c, pos + 1);
            if (pos == npos)
                return npos;
        } else if (c == '>') {
            return pos + 1;
        }
    }
    return npos;
}

std::size_t elementEnd(std::string_view xml, std::size_t tagStart)
{
    std::size_t pos = startTagEnd(xml, tagStart);
    if (pos == npos || xml[pos - 2] == '/')
        return pos;
    int depth = 1;
    while (true) {
        pos = xml.find('<', pos);
        if (pos == npos)
            return npos;
        const std::string_view rest = xml.substr(pos);
        if (rest.starts_with("<!--")) {
            pos = pastMarker(xml, pos + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            pos = pastMarker(xml, pos + 9, "]]>");
        } else if (rest.starts_with("<?")) {
            pos = pastMarker(xml, pos + 2, "?>");
        } else if (rest.starts_with("</")) {
            pos = pastMarker(xml, pos + 2, ">");
            if (pos != npos && --depth == 0)
                return pos;
        } else {
            const std::size_t end = startTagEnd(xml, pos);
            if (end != npos && xml[end - 2] != '/')
                ++depth;
            pos = end;
        }
        if (pos == npos)
            return npos;
    }
}

std::string_view elementPrefix(std::string_view xml, std::size_t tagStart)
{
    std::size_t pos = tagStart + 1;
    while (pos < xml.size() && xml[pos] != ':' && xml[pos] != '>' && xml[pos] != '/' && xml[pos] != ' ' &&
           xml[pos] != '\t' && xml[pos] != '\n' && xml[pos] != '\r')
        ++pos;
    if (pos < xml.size() && xml[pos] == ':')
        return xml.substr(tagStart + 1, pos - tagStart);
    return {};
}

} // namespace sedilo::workbook
