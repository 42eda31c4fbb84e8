#pragma once

#include <string>
#include <string_view>

struct UConverter;

namespace sedilo {

// The system's ANSI code page, 936. Conversion goes through GB18030, which
// gives the code page 936 bytes for every character that code page has and
// four-byte sequences for the rest, so rare name characters survive a round
// trip instead of becoming "?". Invalid UTF-8 input is taken as U+FFFD.
std::string utf8ToGbk(std::string_view utf8);

// Bytes that are not valid GB18030 become U+FFFD; a zero byte is U+0000.
std::string gbkToUtf8(std::string_view gbk);

// The same conversions through one converter kept open, for callers that
// convert a text per examinee. Not to be shared between threads.
class GbkConverter {
public:
    GbkConverter();
    ~GbkConverter();
    GbkConverter(const GbkConverter&) = delete;
    GbkConverter& operator=(const GbkConverter&) = delete;

    std::string toGbk(std::string_view utf8);
    std::string toUtf8(std::string_view gbk);

private:
    UConverter* m_converter;
};

} // namespace sedilo
