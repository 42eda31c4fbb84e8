#include "services/workbook/XlsxSharedStrings.h"

#include <thread>

#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxText.h"
#include "services/workbook/XmlBlocks.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/XmlStream.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

namespace {

// The strings of a block of items, parsed on another thread.
struct StringBlock {
    TextArena strings;
    std::size_t elements = 0;
};

// A block whose last element is not an item that ended.
struct BlockNotWhole {};

// <sst><si><t>..</t></si><si><r><t>..</t></r>..</si></sst>: of a run only its
// first <t> counts, and phonetic runs (<rPh>) none.
class SharedStringParser final : public XmlStream {
public:
    SharedStringParser(const std::string& file, const std::string& partName, SharedStringTable& table)
        : XmlStream(file, partName, Limits{}), m_table(&table)
    {
    }

    // Parses a block of items cut out of the part, inside a wrapper element
    // that stands for its root, into `block`.
    SharedStringParser(const std::string& file, const std::string& partName, StringBlock& block)
        : XmlStream(file, partName, Limits{}), m_block(&block)
    {
    }

    // The strings of a block parsed elsewhere, as if its items had been parsed here.
    void replay(const StringBlock& block)
    {
        addElements(block.elements);
        for (std::size_t index = 0; index < block.strings.size(); ++index)
            store(block.strings.at(index));
    }

    // Just after the end of an item, before anything else.
    bool afterItem() const { return m_afterItem; }

private:
    void startElement(std::string_view name, const char**, int depth) override
    {
        m_afterItem = false;
        const std::string_view local = localName(name);
        if (depth == 2) {
            m_inItem = local == "si";
            m_stored.clear();
        } else if (m_inItem && depth == 3) {
            m_inRun = local == "r";
            m_runTextSeen = false;
            beginText(local == "t");
        } else if (m_inRun && depth == 4) {
            beginText(local == "t" && !m_runTextSeen);
            m_runTextSeen = m_runTextSeen || local == "t";
        }
    }

    void endElement(std::string_view, int depth) override
    {
        if (m_block && depth == 1)
            return; // the wrapper
        if (m_collecting && (depth == 3 || depth == 4)) {
            m_stored += text();
            m_collecting = false;
        }
        if (depth == 3)
            m_inRun = false;
        if (depth == 2 && m_inItem) {
            const std::string decoded = decodeStoredText(m_stored);
            if (m_block)
                m_block->strings.append(decoded);
            else
                store(decoded);
            m_inItem = false;
        }
        m_afterItem = depth == 2;
    }

    void store(std::string_view text)
    {
        if (m_table->size() >= SharedStringTable::kStringLimit)
            fail("more than " + std::to_string(SharedStringTable::kStringLimit) + " shared strings");
        m_table->append(text);
    }

    void beginText(bool on)
    {
        m_collecting = on;
        text().clear();
        gatherText(on);
    }

    SharedStringTable* m_table = nullptr;
    StringBlock* m_block = nullptr;
    bool m_afterItem = false;
    std::string m_stored;
    bool m_inItem = false;
    bool m_inRun = false;
    bool m_runTextSeen = false;
    bool m_collecting = false;
};

StringBlock parseBlock(const std::string& bytes, const std::string& file, const std::string& partName)
{
    return parseBlockRecords<StringBlock, BlockNotWhole>(bytes, &SharedStringParser::afterItem, file, partName);
}

} // namespace

SharedStringTable loadSharedStrings(const ZipPackage& package, const std::string& partName)
{
    SharedStringTable table;
    if (partName.empty())
        return table;
    SharedStringParser parser(package.file(), partName, table);
    // A city's list holds about one string per examinee: their parsing goes to the other cores.
    XmlBlocks<StringBlock> blocks(parser, "</si>",
                                  {.parse = [&](const std::string& bytes) { return parseBlock(bytes, package.file(), partName); },
                                   .atBoundary = [&] { return parser.afterItem(); },
                                   .replay = [&](const StringBlock& block) { parser.replay(block); }},
                                  std::thread::hardware_concurrency());
    package.stream(partName, ZipPackage::kPartLimit,
                   [&](const char* data, std::size_t size) { blocks.feed(data, size); });
    blocks.finish();
    return table;
}

} // namespace sedilo::workbook
