#include "services/workbook/xls/ContinuedReader.h"

#include <algorithm>

#include "services/workbook/xls/LittleEndian.h"

namespace sedilo::workbook::xls {

ContinuedReader::ContinuedReader(std::vector<std::string_view> bodies)
    : m_bodies(std::move(bodies))
{
}

std::size_t ContinuedReader::available()
{
    return m_piece < m_bodies.size() ? m_bodies[m_piece].size() - m_offset : 0;
}

void ContinuedReader::nextPiece()
{
    if (m_piece + 1 >= m_bodies.size())
        throw BiffError(CauseKind::DamagedWorkbook, "a record ends before its data");
    ++m_piece;
    m_offset = 0;
}

bool ContinuedReader::atEnd()
{
    while (available() == 0) {
        if (m_piece + 1 >= m_bodies.size())
            return true;
        ++m_piece;
        m_offset = 0;
    }
    return false;
}

std::uint8_t ContinuedReader::u8()
{
    while (available() == 0)
        nextPiece();
    return static_cast<std::uint8_t>(m_bodies[m_piece][m_offset++]);
}

std::uint16_t ContinuedReader::u16()
{
    const std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | (u8() << 8));
}

std::uint32_t ContinuedReader::u32()
{
    const std::uint32_t low = u16();
    return low | (static_cast<std::uint32_t>(u16()) << 16);
}

std::string ContinuedReader::bytes(std::size_t count)
{
    std::string result;
    while (count > 0) {
        while (available() == 0)
            nextPiece();
        const std::size_t n = std::min(count, available());
        result.append(m_bodies[m_piece].substr(m_offset, n));
        m_offset += n;
        count -= n;
    }
    return result;
}

std::u16string ContinuedReader::characters(std::size_t count, bool highByte)
{
    std::u16string result;
    result.reserve(std::min<std::size_t>(count, 0x10000));
    while (count > 0) {
        if (available() == 0) {
            nextPiece();
            highByte = (u8() & 0x01) != 0;
            continue;
        }
        const std::size_t width = highByte ? 2 : 1;
        const std::size_t n = std::min(count, available() / width);
        if (n == 0)
            throw BiffError(CauseKind::DamagedWorkbook, "a 16-bit character is split between records");
        const char* p = m_bodies[m_piece].data() + m_offset;
        for (std::size_t i = 0; i < n; ++i)
            result.push_back(highByte ? static_cast<char16_t>(readU16(p + 2 * i))
                                      : static_cast<char16_t>(static_cast<unsigned char>(p[i])));
        m_offset += n * width;
        count -= n;
    }
    return result;
}

std::u16string readUnicodeString(ContinuedReader& reader, bool eightBitCount)
{
    const std::size_t count = eightBitCount ? reader.u8() : reader.u16();
    const std::uint8_t flags = reader.u8();
    const std::size_t runs = (flags & 0x08) ? reader.u16() : 0;
    const std::size_t phonetic = (flags & 0x04) ? reader.u32() : 0;
    std::u16string text = reader.characters(count, (flags & 0x01) != 0);
    if (runs > 0)
        reader.bytes(4 * runs);
    if (phonetic > 0)
        reader.bytes(phonetic);
    return text;
}

std::string utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < minimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += length;
    }
    return out;
}

} // namespace sedilo::workbook::xls
