#include <gtest/gtest.h>

#include "services/workbook/xls/BiffRecord.h"
#include "services/workbook/xls/ContinuedReader.h"
#include "services/workbook/xls/LittleEndian.h"
#include "services/workbook/xls/SharedStrings.h"

namespace sedilo::workbook::xls {
namespace {

std::vector<std::string_view> bodiesOf(const std::string& records)
{
    std::vector<std::string_view> bodies;
    for (const BiffRecord& rec : splitRecords(records))
        if (rec.type == record::Sst || rec.type == record::Continue)
            bodies.push_back(rec.body(records));
    return bodies;
}

TEST(XlsSharedStrings, LaidOutTablesReadBackWithEveryPart)
{
    std::vector<SharedString> strings;
    for (int i = 0; i < 3000; ++i)
        strings.push_back(makeSharedString(i % 2 ? "第" + std::to_string(i) + "号" : "seat " + std::to_string(i)));
    SharedString rich = makeSharedString(std::string(9000, 'r'));
    rich.runs = std::string(8, '\x01');
    rich.phonetic = std::string(30, '\x02');
    strings.push_back(rich);
    std::string wide;
    for (int k = 0; k < 7000; ++k)
        wide += "宽";
    const std::vector<SharedString> appended{makeSharedString(wide), makeSharedString(""), makeSharedString("end")};

    const std::size_t position = 1000;
    const std::string records = serializeSharedStrings(strings, appended, 4321, position);
    const auto split = splitRecords(records);
    ASSERT_GT(split.size(), 4u);
    for (const BiffRecord& rec : split)
        EXPECT_LE(rec.size, MaxRecordData);
    EXPECT_EQ(split.back().type, record::ExtSst);

    const SharedStrings table = parseSharedStrings(bodiesOf(records));
    EXPECT_EQ(table.totalReferences, 4321u);
    ASSERT_EQ(table.strings.size(), strings.size() + appended.size());
    EXPECT_EQ(table.strings[1].text, "第1号");
    EXPECT_EQ(table.strings[3000].text, std::string(9000, 'r'));
    EXPECT_EQ(table.strings[3000].runs, rich.runs);
    EXPECT_EQ(table.strings[3000].phonetic, rich.phonetic);
    EXPECT_TRUE(table.strings[3001].text == wide);
    EXPECT_EQ(table.strings[3002].text, "");
    EXPECT_EQ(table.strings[3003].text, "end");

    // Each EXTSST entry points at the header of a string start: its stream
    // position and its offset inside the record agree.
    const std::string_view extSst = split.back().body(records);
    const std::size_t perBucket = readU16(extSst.data());
    EXPECT_GE(perBucket, 8u);
    EXPECT_EQ((extSst.size() - 2) / 8, (table.strings.size() + perBucket - 1) / perBucket);
    for (std::size_t at = 2; at + 8 <= extSst.size(); at += 8) {
        const std::size_t streamPosition = readU32(extSst.data() + at);
        const std::size_t inRecord = readU16(extSst.data() + at + 4);
        const BiffRecord* holder = nullptr;
        for (const BiffRecord& rec : split)
            if (rec.offset + position <= streamPosition && streamPosition < rec.end() + position)
                holder = &rec;
        ASSERT_NE(holder, nullptr);
        EXPECT_EQ(holder->offset + position + inRecord, streamPosition);
    }
}

TEST(XlsSharedStrings, CharactersSwitchWidthAtAContinueRecord)
{
    // "ab" compressed in the SST record, then "中" in 16-bit form after the
    // CONTINUE record's own flag byte, then a second compressed string.
    std::string first;
    appendU32(first, 2);
    appendU32(first, 2);
    appendU16(first, 3);
    first += std::string("\0ab", 3);
    std::string second;
    second.push_back('\x01');
    appendU16(second, u'中');
    appendU16(second, 1);
    second += std::string("\0z", 2);
    const SharedStrings table = parseSharedStrings({first, second});
    ASSERT_EQ(table.strings.size(), 2u);
    EXPECT_EQ(table.strings[0].text, "ab中");
    EXPECT_EQ(table.strings[1].text, "z");

    // A table that ends inside a string keeps the strings before it.
    EXPECT_EQ(parseSharedStrings({first}).strings.size(), 0u);
}

TEST(XlsSharedStrings, TextConvertsBetweenUtf8AndUtf16)
{
    EXPECT_EQ(utf16ToUtf8(u"姓名 A𠀀"), "姓名 A𠀀");
    EXPECT_EQ(utf8ToUtf16("考号 𠀀"), u"考号 𠀀");
    EXPECT_EQ(utf8ToUtf16("a\xff" "b"), u"a\uFFFDb");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

} // namespace
} // namespace sedilo::workbook::xls
