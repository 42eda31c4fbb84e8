#include <gtest/gtest.h>

#include "services/workbook/XlsxText.h"

using namespace sedilo::workbook;

TEST(XlsxTextTest, StoredEscapesAreDecoded)
{
    EXPECT_EQ(decodeStoredText("a_x000D__x000A_b"), "a\r\nb");
    EXPECT_EQ(decodeStoredText("_x005F_x0041_"), "_x0041_");
    EXPECT_EQ(decodeStoredText("_xd83d__xde00_"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(decodeStoredText("lone _xD83D_ surrogate"), "lone \xEF\xBF\xBD surrogate");
    EXPECT_EQ(decodeStoredText("_x12G4_ _x12_ x0041_"), "_x12G4_ _x12_ x0041_");
}

TEST(XlsxTextTest, WrittenTextReadsBackUnchangedAndStaysValidXml)
{
    const std::string texts[] = {"plain 姓名", "<&>\"'", "\x01\x1F\r\n\t", "_x0041_ and _x005F_", "\xEF\xBF\xBF",
                                 " lead", "trail\n", ""};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string stored = encodeStoredText(text);
        EXPECT_EQ(stored.find_first_of("<&\x01\x1F\r"), stored.find("&")) << stored; // only entities use '&'
        std::string unescaped = stored;
        for (const auto& [entity, character] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
            for (auto at = unescaped.find(entity); at != std::string::npos; at = unescaped.find(entity, at + 1))
                unescaped.replace(at, std::string(entity).size(), character);
        EXPECT_EQ(decodeStoredText(unescaped), text);
    }
    EXPECT_EQ(encodeStoredText("bad \xFF byte"), "bad \xEF\xBF\xBD byte");
    EXPECT_TRUE(needsSpacePreserve(" lead"));
    EXPECT_TRUE(needsSpacePreserve("trail\n"));
    EXPECT_FALSE(needsSpacePreserve("in side"));
    EXPECT_FALSE(needsSpacePreserve(""));
}
