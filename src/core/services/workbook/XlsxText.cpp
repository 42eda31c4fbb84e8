#include "services/workbook/XlsxText.h"

#include <cstdio>

#include "services/workbook/Utf8.h"

namespace sedilo::workbook {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The UTF-16 code unit of an `_xHHHH_` escape at `pos`, or -1.
long escapeAt(std::string_view text, std::size_t pos)
{
    if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_')
        return -1;
    long unit = 0;
    for (std::size_t i = pos + 2; i < pos + 6; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0)
            return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

void appendEscape(std::string& out, unsigned unit)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "_x%04X_", unit);
    out += buffer;
}

} // namespace

std::string decodeStoredText(std::string_view stored)
{
    if (stored.find("_x") == std::string_view::npos)
        return std::string(stored);
    std::string out;
    out.reserve(stored.size());
    for (std::size_t pos = 0; pos < stored.size();) {
        const long unit = escapeAt(stored, pos);
        if (unit < 0) {
            out += stored[pos++];
            continue;
        }
        pos += 7;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const long low = escapeAt(stored, pos);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                pos += 7;
                appendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                    (static_cast<char32_t>(low) - 0xDC00));
                continue;
            }
        }
        appendUtf8(out, static_cast<char32_t>(unit)); // a lone surrogate becomes U+FFFD
    }
    return out;
}

std::string encodeStoredText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t pos = 0; pos < text.size();) {
        if (escapeAt(text, pos) >= 0) {
            // A literal "_xHHHH_" would read back as an escape: its underscore is escaped.
            out += "_x005F_";
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const char32_t c = nextCodePoint(text, pos);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\t':
        case '\n': out += static_cast<char>(c); break;
        default:
            if (c < 0x20 || c == 0xFFFE || c == 0xFFFF)
                appendEscape(out, static_cast<unsigned>(c)); // \r too: XML parsers would drop it
            else if (c == 0xFFFD)
                appendUtf8(out, c); // also stands for an invalid byte
            else
                out.append(text.substr(start, pos - start));
        }
    }
    return out;
}

std::string protectLiteralEscapes(std::string_view text)
{
    if (text.find("_x") == std::string_view::npos)
        return std::string(text);
    std::string out;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (escapeAt(text, pos) >= 0)
            out += "_x005F";
        out += text[pos];
    }
    return out;
}

bool needsSpacePreserve(std::string_view text)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    return !text.empty() && (isSpace(text.front()) || isSpace(text.back()));
}

} // namespace sedilo::workbook
