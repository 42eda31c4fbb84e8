#include "services/workbook/XlsxSharedStrings.h"


#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxText.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/XmlStream.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

namespace {

// <sst><si><t>..</t></si><si><r><t>..</t></r>..</si></sst>: of a run only its
// first <t> counts, and phonetic runs (<rPh>) none.
class SharedStringParser final : public XmlStream {
public:
    SharedStringParser(const std::string& file, const std::string& partName, SharedStringTable& table)
        : XmlStream(file, partName, Limits{}), m_table(table)
    {
    }

    void end()
    {
        finish();
    }

private:
    void startElement(std::string_view name, const char**, int depth) override
    {
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
        if (m_collecting && (depth == 3 || depth == 4)) {
            m_stored += text();
            m_collecting = false;
        }
        if (depth == 3)
            m_inRun = false;
        if (depth == 2 && m_inItem) {
            if (m_table.size() >= SharedStringTable::kStringLimit)
                fail("more than " + std::to_string(SharedStringTable::kStringLimit) + " shared strings");
            m_table.append(decodeStoredText(m_stored));
            m_inItem = false;
        }
    }

    void beginText(bool on)
    {
        m_collecting = on;
        text().clear();
        gatherText(on);
    }

    SharedStringTable& m_table;
    std::string m_stored;
    bool m_inItem = false;
    bool m_inRun = false;
    bool m_runTextSeen = false;
    bool m_collecting = false;
};

} // namespace

SharedStringTable loadSharedStrings(const ZipPackage& package, const std::string& partName)
{
    SharedStringTable table;
    if (partName.empty())
        return table;
    SharedStringParser parser(package.file(), partName, table);
    package.stream(partName, ZipPackage::kPartLimit,
                   [&](const char* data, std::size_t size) { parser.feed(data, size); });
    parser.end();
    return table;
}

} // namespace sedilo::workbook
