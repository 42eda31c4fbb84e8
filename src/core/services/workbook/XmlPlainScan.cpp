// A scanner for the plain markup that makes up nearly all of a large sheet
// or shared-string part. Expat costs about 270 ns an element, two thirds of
// reading a city's list; this costs a fraction of that. It is strict rather
// than complete: whatever it is not sure expat would take exactly so, it
// leaves to expat, so it never accepts what expat would refuse.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "services/workbook/Utf8.h"
#include "services/workbook/XmlStream.h"

namespace sedilo::workbook {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}

// The length of the UTF-8 sequence at `s` when it is well formed and encodes
// an XML character from U+0080 up, else 0: no surrogate, U+FFFE or U+FFFF.
std::size_t xmlCharLength(const unsigned char* s, std::size_t available)
{
    const unsigned char lead = s[0];
    const auto tail = [&](std::size_t i, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return i < available && s[i] >= low && s[i] <= high;
    };
    if (lead >= 0xC2 && lead <= 0xDF)
        return tail(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const bool second = lead == 0xE0 ? tail(1, 0xA0) : lead == 0xED ? tail(1, 0x80, 0x9F) : tail(1);
        if (!second || !tail(2))
            return 0;
        return lead == 0xEF && s[1] == 0xBF && s[2] >= 0xBE ? 0 : 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const bool second = lead == 0xF0 ? tail(1, 0x90) : lead == 0xF4 ? tail(1, 0x80, 0x8F) : tail(1);
        return second && tail(2) && tail(3) ? 4 : 0;
    }
    return 0;
}

// Walks `content` by index; every check that fails makes the scan give up.
class PlainScan {
public:
    explicit PlainScan(std::string_view content)
        : m_at(content.data()), m_end(content.data() + content.size())
    {
    }

    bool done() const { return m_at == m_end; }
    char peek(std::size_t ahead = 0) const { return m_at + ahead < m_end ? m_at[ahead] : '\0'; }
    void skip(std::size_t count) { m_at += count; }

    std::size_t skipSpaces()
    {
        const char* from = m_at;
        while (m_at < m_end && isSpace(*m_at))
            ++m_at;
        return static_cast<std::size_t>(m_at - from);
    }

    // A name of ASCII letters, digits and "_-.:", not led by ':' or a digit
    // and holding no empty part between colons; empty when there is none.
    std::string_view name()
    {
        const char* from = m_at;
        if (m_at == m_end || !isNameStart(*m_at))
            return {};
        while (m_at < m_end && isNameChar(*m_at))
            ++m_at;
        const std::string_view found(from, static_cast<std::size_t>(m_at - from));
        if (found.back() == ':' || found.find("::") != std::string_view::npos)
            return {};
        return found;
    }

    // Up to `stop` or a reference, over characters that stand for
    // themselves in text (or in an attribute value): false at anything else.
    bool runTo(char stop, bool attributeValue, std::string_view& run)
    {
        const char* from = m_at;
        while (m_at < m_end && *m_at != stop && *m_at != '&') {
            const auto c = static_cast<unsigned char>(*m_at);
            if (c >= 0x80) {
                const std::size_t length =
                    xmlCharLength(reinterpret_cast<const unsigned char*>(m_at), static_cast<std::size_t>(m_end - m_at));
                if (length == 0)
                    return false;
                m_at += length;
                continue;
            }
            // Expat turns "\r" and, in values, tabs and line feeds into
            // other characters, and "]]>" may not stand in text.
            const bool allowedControl = !attributeValue && (c == '\t' || c == '\n');
            if ((c < 0x20 && !allowedControl) || c == 0x7F || c == '<' || c == ']')
                return false;
            ++m_at;
        }
        run = std::string_view(from, static_cast<std::size_t>(m_at - from));
        return true;
    }

    // The reference at '&', one of the five predefined entities or a
    // character reference to a printable character, appended to `out` as
    // UTF-8; false for anything else.
    bool reference(std::string& out)
    {
        const char* const semicolon = static_cast<const char*>(std::memchr(m_at, ';', std::min<std::size_t>(12, static_cast<std::size_t>(m_end - m_at))));
        if (!semicolon)
            return false;
        const std::string_view body(m_at + 1, static_cast<std::size_t>(semicolon - m_at - 1));
        m_at = semicolon + 1;
        static constexpr std::pair<std::string_view, char> kEntities[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [name, character] : kEntities) {
            if (body == name) {
                out.push_back(character);
                return true;
            }
        }
        if (body.size() < 2 || body[0] != '#')
            return false;
        const bool hex = body[1] == 'x';
        const std::string_view digits = body.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        if (digits.empty() || digits.size() > 6)
            return false;
        for (const char digit : digits) {
            int value = -1;
            if (digit >= '0' && digit <= '9')
                value = digit - '0';
            else if (hex && digit >= 'a' && digit <= 'f')
                value = digit - 'a' + 10;
            else if (hex && digit >= 'A' && digit <= 'F')
                value = digit - 'A' + 10;
            if (value < 0)
                return false;
            code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
        }
        if (code < 0x20 || code == 0x7F || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF
            || code > 0x10FFFF)
            return false;
        appendUtf8(out, code);
        return true;
    }

private:
    const char* m_at;
    const char* m_end;
};

// The attributes of a start tag up to its ">" or "/>", each name and value
// into `scratch` as "name\0value\0" with their `offsets`; `empty` for "/>".
bool readAttributes(PlainScan& scan, std::string& scratch, std::vector<std::size_t>& offsets, bool& empty)
{
    offsets.clear();
    for (;;) {
        const std::size_t spaces = scan.skipSpaces();
        if (scan.peek() == '>') {
            scan.skip(1);
            return true;
        }
        if (scan.peek() == '/' && scan.peek(1) == '>') {
            scan.skip(2);
            empty = true;
            return true;
        }
        const std::string_view attribute = scan.name();
        if (spaces == 0 || attribute.empty() || attribute.starts_with("xmlns"))
            return false;
        for (std::size_t name = 0; name < offsets.size(); name += 2)
            if (attribute == scratch.c_str() + offsets[name])
                return false;
        scan.skipSpaces();
        if (scan.peek() != '=')
            return false;
        scan.skip(1);
        scan.skipSpaces();
        const char quote = scan.peek();
        if (quote != '"' && quote != '\'')
            return false;
        scan.skip(1);
        offsets.push_back(scratch.size());
        scratch.append(attribute);
        scratch.push_back('\0');
        offsets.push_back(scratch.size());
        for (std::string_view value; scan.peek() != quote;) {
            if (!scan.runTo(quote, true, value))
                return false;
            scratch.append(value);
            if ((scan.peek() == '&' && !scan.reference(scratch)) || scan.done())
                return false;
        }
        scan.skip(1);
        scratch.push_back('\0');
    }
}

} // namespace

bool XmlStream::parsePlainElement(std::string_view wrapper, std::string_view content)
{
    m_plain = true;
    // Handlers read names and values as C strings: each goes into `scratch`
    // with its terminator, and the pointers are taken once it is complete.
    std::string scratch;
    std::vector<std::size_t> offsets; // of the attributes' names and values
    std::vector<const char*> attributes;
    std::vector<std::string_view> open;
    std::string referenced;
    const auto addToScratch = [&](std::string_view text) {
        scratch.append(text);
        scratch.push_back('\0');
    };

    const char* noAttributes[] = {nullptr};
    scratch.assign(wrapper);
    deliverStart(scratch, noAttributes);
    PlainScan scan(content);
    while (!stopping() && !scan.done()) {
        if (scan.peek() != '<') {
            std::string_view text;
            if (!scan.runTo('<', false, text))
                return false;
            deliverText(text.data(), text.size());
            if (scan.peek() == '&') {
                referenced.clear();
                if (!scan.reference(referenced))
                    return false;
                deliverText(referenced.data(), referenced.size());
            }
            continue;
        }
        if (scan.peek(1) == '/') {
            scan.skip(2);
            const std::string_view name = scan.name();
            scan.skipSpaces();
            if (name.empty() || scan.peek() != '>' || open.empty() || open.back() != name)
                return false;
            scan.skip(1);
            open.pop_back();
            scratch.assign(name);
            deliverEnd(scratch);
            continue;
        }
        scan.skip(1);
        const std::string_view name = scan.name();
        if (name.empty())
            return false;
        scratch.clear();
        bool empty = false;
        if (!readAttributes(scan, scratch, offsets, empty))
            return false;
        const std::size_t nameAt = scratch.size();
        addToScratch(name);
        attributes.clear();
        for (const std::size_t offset : offsets)
            attributes.push_back(scratch.data() + offset);
        attributes.push_back(nullptr);
        const std::string_view scratchName(scratch.data() + nameAt, name.size());
        deliverStart(scratchName, attributes.data());
        if (!empty)
            open.push_back(name);
        else if (!stopping())
            deliverEnd(scratchName);
    }
    if (stopping())
        throwWhyStopped();
    if (!open.empty())
        return false;
    scratch.assign(wrapper);
    deliverEnd(scratch);
    if (stopping())
        throwWhyStopped();
    return true;
}

} // namespace sedilo::workbook
