#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/workbook/xls/BiffRecord.h"

namespace sedilo::workbook::xls {

// Reads the body of one record and of the CONTINUE records after it as one
// sequence, knowing where each body starts: the characters of a string that
// run on into the next body are preceded there by a fresh option-flag byte.
// Reading past the end throws BiffError.
class ContinuedReader {
public:
    // `bodies`: the record bodies in stream order.
    explicit ContinuedReader(std::vector<std::string_view> bodies);

    bool atEnd();
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    // Raw bytes that may span bodies without any flag byte (rich-text runs,
    // phonetic data).
    std::string bytes(std::size_t count);
    // `count` characters, 8-bit when `highByte` is false, switching width
    // where a body boundary repeats the flag byte.
    std::u16string characters(std::size_t count, bool highByte);

    std::size_t piece() const { return m_piece; }
    std::size_t offsetInPiece() const { return m_offset; }

private:
    std::size_t available();
    void nextPiece();

    std::vector<std::string_view> m_bodies;
    std::size_t m_piece = 0;
    std::size_t m_offset = 0;
};

// XLUnicodeString-like text: a 16-bit (or 8-bit) count, flags, then
// characters; rich-text runs and phonetic data are skipped.
std::u16string readUnicodeString(ContinuedReader& reader, bool eightBitCount);

std::string utf16ToUtf8(std::u16string_view text);
// Invalid UTF-8 bytes become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

} // namespace sedilo::workbook::xls
