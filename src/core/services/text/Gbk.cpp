#include "services/text/Gbk.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

namespace sedilo {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Opening is cheap (ICU shares the mapping tables), so each call has its own;
// a loop over many texts keeps one in a GbkConverter.
ConverterPtr openGb18030()
{
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open("GB18030", &status));
    if (U_FAILURE(status) || !converter)
        throw std::runtime_error(std::string("GB18030 converter unavailable: ") + u_errorName(status));
    return converter;
}

void check(UErrorCode status, const char* what)
{
    if (U_FAILURE(status))
        throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
}

std::u16string toUtf16(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8WithSub(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()),
                         kReplacement, nullptr, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR)
        check(status, "UTF-8 decoding");
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), length, nullptr, utf8.data(), static_cast<int32_t>(utf8.size()),
                         kReplacement, nullptr, &status);
    check(status, "UTF-8 decoding");
    return out;
}

std::string toUtf8(const std::u16string& utf16)
{
    if (utf16.empty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strToUTF8WithSub(nullptr, 0, &length, utf16.data(), static_cast<int32_t>(utf16.size()),
                       kReplacement, nullptr, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR)
        check(status, "UTF-8 encoding");
    std::string out(static_cast<std::size_t>(length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), length, nullptr, utf16.data(), static_cast<int32_t>(utf16.size()),
                       kReplacement, nullptr, &status);
    check(status, "UTF-8 encoding");
    return out;
}

// Both encodings keep ASCII as it is, and most texts met are ASCII.
bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string gbkFromUtf16(UConverter* converter, const std::u16string& utf16)
{
    std::string out(static_cast<std::size_t>(UCNV_GET_MAX_BYTES_FOR_STRING(utf16.size(), 4)), '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()), utf16.data(),
                                           static_cast<int32_t>(utf16.size()), &status);
    check(status, "GB18030 encoding");
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string utf8FromGbk(UConverter* converter, std::string_view gbk)
{
    // Every byte gives at most one UTF-16 unit (four-byte sequences give two).
    std::u16string utf16(gbk.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, utf16.data(), static_cast<int32_t>(utf16.size()), gbk.data(),
                                         static_cast<int32_t>(gbk.size()), &status);
    check(status, "GB18030 decoding");
    utf16.resize(static_cast<std::size_t>(length));
    return toUtf8(utf16);
}

} // namespace

std::string utf8ToGbk(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    const std::u16string utf16 = toUtf16(utf8);
    if (utf16.empty())
        return {};
    return gbkFromUtf16(openGb18030().get(), utf16);
}

std::string gbkToUtf8(std::string_view gbk)
{
    if (isAscii(gbk))
        return std::string(gbk);
    return utf8FromGbk(openGb18030().get(), gbk);
}

GbkConverter::GbkConverter() : m_converter(openGb18030().release()) {}

GbkConverter::~GbkConverter()
{
    ucnv_close(m_converter);
}

std::string GbkConverter::toGbk(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    const std::u16string utf16 = toUtf16(utf8);
    if (utf16.empty())
        return {};
    return gbkFromUtf16(m_converter, utf16);
}

std::string GbkConverter::toUtf8(std::string_view gbk)
{
    if (isAscii(gbk))
        return std::string(gbk);
    return utf8FromGbk(m_converter, gbk);
}

} // namespace sedilo
