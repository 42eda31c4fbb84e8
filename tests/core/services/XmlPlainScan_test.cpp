#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include "services/workbook/WorkbookError.h"
#include "services/workbook/XmlBlocks.h"
#include "services/workbook/XmlStream.h"

namespace sedilo::workbook {
namespace {

// Writes down every event with its attributes and the text each element holds.
class Recorder final : public XmlStream {
public:
    explicit Recorder(Limits limits = {}) : XmlStream("book.xlsx", "xl/worksheets/sheet1.xml", limits) {}
    std::string events;

private:
    void startElement(std::string_view name, const char** attributes, int depth) override
    {
        events += "<" + std::string(name) + "@" + std::to_string(depth);
        for (; *attributes; attributes += 2)
            events += std::string(" ") + attributes[0] + "=[" + attributes[1] + "]";
        events += ">";
        text().clear();
        gatherText(true);
    }
    void endElement(std::string_view name, int) override { events += "[" + text() + "]</" + std::string(name) + ">"; }
};

// The events of one parse, or "error: ..." when it threw; nothing when the
// plain scanner gave up.
std::optional<std::string> parse(const std::string& block, bool plain, XmlStream::Limits limits = {})
{
    Recorder recorder(limits);
    try {
        const std::optional<std::size_t> elements = parseWrappedBlock(recorder, block, plain);
        if (!elements)
            return std::nullopt;
        return recorder.events + " #" + std::to_string(*elements);
    } catch (const WorkbookError& error) {
        return std::string("error: ") + error.what();
    }
}

const std::string kRows =
    "<row r=\"2\" spans=\"1:4\"><c r=\"A2\" t=\"s\"><v>4</v></c><c r='B2' t = \"inlineStr\"><is><t "
    "xml:space=\"preserve\"> 黄诗涵 😀</t></is></c><c r=\"C2\" s=\"3\"/>\n\t<c r=\"D2\"><f>SUM(A1:A2)&gt;0&amp;&#22995;&#x1F600;</f></c></row>"
    "<row r=\"3\"><c r=\"A3\"><v>1.5E+3</v></c><c r=\"B3\" t=\"str\" a=\"&quot;x&#65;\"><v>a>b (x) é</v></c></row>";

TEST(XmlPlainScan, GivesExpatsEventsOrLeavesTheBlockToExpat)
{
    // Plain blocks, as spreadsheets write them, with what the scanner must
    // still get right: single quotes, spaces around "=", empty elements,
    // tabs and line feeds between elements, UTF-8 up to four bytes, references.
    const std::string plain = "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>4</v></c><c r='B2' t = \"inlineStr\"><is><t "
                              "xml:space=\"preserve\"> 黄诗涵 😀&#22995;&amp;</t></is></c><c r=\"C2\" s=\"&lt;3\"/>\n\t</row>";
    ASSERT_TRUE(parse(plain, true).has_value());
    EXPECT_EQ(parse(plain, true), parse(plain, false));

    // What expat reads otherwise than as it stands, or may refuse, is left to it.
    for (const std::string& other :
         {std::string("<row><c><v>&nbsp;</v></c></row>"), std::string("<v>&#0;</v>"), std::string("<v>&#xD800;</v>"), std::string("<v>&#X41;</v>"), std::string("<row><!-- x --></row>"),
          std::string("<row><?pi x?></row>"), std::string("<row><![CDATA[x]]></row>"), std::string("<row>a\r\nb</row>"),
          std::string("<row a=\"x\ty\"/>"), std::string("<row xmlns=\"urn:x\"/>"), std::string("<行/>"),
          std::string("<row a=\"1\" a=\"2\"/>"), std::string("<row a=\"1\"b=\"2\"/>"), std::string("<row></c>"),
          std::string("<row>"), std::string("</_><row/>"), std::string("<row>\xED\xA0\x80</row>"),
          std::string("<row>\xEF\xBF\xBE</row>"), std::string("<row>\xC0\xAF</row>"), std::string("<row>\x01</row>"),
          std::string("<:a/>"), std::string("<a:/>"), std::string("<row>]]></row>")})
        EXPECT_FALSE(parse(other, true).has_value()) << other;

    // Character references at the edges of what XML allows.
    for (const unsigned code : {0x0u, 0x9u, 0xDu, 0x1Fu, 0x20u, 0x7Fu, 0x80u, 0xD7FFu, 0xD800u, 0xDFFFu, 0xE000u,
                                0xFFFDu, 0xFFFEu, 0xFFFFu, 0x10000u, 0x10FFFFu, 0x110000u}) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", code);
        for (const std::string& block : {"<v>&#" + std::to_string(code) + ";</v>", "<v a='&#x" + std::string(hex) + ";'/>"}) {
            if (const std::optional<std::string> quick = parse(block, true)) {
                EXPECT_EQ(*quick, parse(block, false).value()) << block;
            }
        }
    }

    // Mutated blocks: wherever the scanner accepts one, expat reads the same.
    std::mt19937 random(20261208);
    const std::string bytes = "<>/=\"' &;#x]:!?-._\t\r\n\x01\x7F\x80\xA0\xBF\xC3\xA9\xE4\xED\xEF\xF0\xF4\xFF" "a1";
    int accepted = 0;
    int declined = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string block = kRows;
        for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
            const std::size_t at = random() % block.size();
            const char byte = bytes[random() % bytes.size()];
            switch (random() % 3) {
            case 0: block[at] = byte; break;
            case 1: block.insert(block.begin() + static_cast<long>(at), byte); break;
            default: block.erase(at, 1 + random() % 4);
            }
        }
        const std::optional<std::string> quick = parse(block, true);
        if (!quick) {
            ++declined;
            continue;
        }
        ++accepted;
        ASSERT_EQ(*quick, parse(block, false).value()) << block;
    }
    EXPECT_GT(accepted, 100);
    EXPECT_GT(declined, 100);
}

TEST(XmlPlainScan, KeepsTheLimitsOfTheStream)
{
    const std::string block = "<row><c><v>1</v></c></row><row><c><v>2</v></c></row>";
    for (const XmlStream::Limits limits : {XmlStream::Limits{.elements = 4}, XmlStream::Limits{.depth = 3},
                                           XmlStream::Limits{.text = 0}}) {
        const std::optional<std::string> quick = parse(block, true, limits);
        ASSERT_TRUE(quick.has_value());
        EXPECT_TRUE(quick->starts_with("error: ")) << *quick;
        EXPECT_EQ(quick, parse(block, false, limits));
    }
}

} // namespace
} // namespace sedilo::workbook
