#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include "services/text/Gbk.h"

using namespace sedilo;

namespace {

std::string utf8Of(UChar32 code)
{
    char buffer[U8_MAX_LENGTH];
    int32_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, code);
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace

TEST(Gbk, MatchesWindows936OverTheUnifiedIdeographs)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> windows936(ucnv_open("windows-936", &status), ucnv_close);
    ASSERT_TRUE(U_SUCCESS(status));
    int compared = 0;
    for (UChar code = 0x4E00; code <= 0x9FA5; ++code) {
        char expected[8];
        status = U_ZERO_ERROR;
        const int32_t length = ucnv_fromUChars(windows936.get(), expected, sizeof expected, &code, 1, &status);
        ASSERT_TRUE(U_SUCCESS(status));
        const std::string bytes = utf8ToGbk(utf8Of(code));
        ASSERT_EQ(bytes, std::string(expected, static_cast<std::size_t>(length))) << std::hex << static_cast<int>(code);
        ASSERT_EQ(gbkToUtf8(bytes), utf8Of(code)) << std::hex << static_cast<int>(code);
        ++compared;
    }
    EXPECT_EQ(compared, 0x9FA5 - 0x4E00 + 1);
    EXPECT_EQ(utf8ToGbk("张三 abc"), "\xD5\xC5\xC8\xFD abc");
}

TEST(Gbk, RareCharactersOutsideCodePage936SurviveARoundTrip)
{
    // 𠀀 (U+20000) and 䶮 (U+4DAE) have no code page 936 bytes; 936 would give "?".
    for (const std::string name : {"\xF0\xA0\x80\x80", "刘\xE4\xB6\xAE", "\xE9\xBE\x98"}) {
        const std::string bytes = utf8ToGbk(name);
        EXPECT_EQ(bytes.find('?'), std::string::npos);
        EXPECT_EQ(gbkToUtf8(bytes), name);
    }
    EXPECT_EQ(utf8ToGbk("\xF0\xA0\x80\x80").size(), 4u);
}

TEST(Gbk, ZeroBytesAndInvalidInputConvertWithoutFailing)
{
    EXPECT_EQ(gbkToUtf8(std::string("\xD5\xC5\0\0", 4)), std::string("张\0\0", 5));
    EXPECT_EQ(gbkToUtf8("\x81"), "\xEF\xBF\xBD");
    EXPECT_EQ(gbkToUtf8(""), "");
    EXPECT_EQ(gbkToUtf8(utf8ToGbk("\xFF" "a")), "\xEF\xBF\xBD" "a");
}
