#include "services/workbook/XmlPart.h"

#include <cstring>

#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

namespace {

// What pugixml's tree of a part costs: its copy of the text, a node per
// element and per text, an attribute record per attribute.
constexpr std::size_t kNodeBytes = 64;
constexpr std::size_t kAttributeBytes = 40;
// Far above any real part (100,000 examinees in four columns cost about
// 120 MB), and low enough that reading stays well inside the memory a
// workbook may take.
constexpr std::size_t kTreeBudget = 256ull * 1024 * 1024;

std::size_t treeCost(const std::string& xml)
{
    std::size_t nodes = 0;
    std::size_t attributes = 0;
    const char* const end = xml.data() + xml.size();
    for (const char* at = xml.data(); at + 1 < end; ++at) {
        switch (*at) {
        case '<':
            nodes += at[1] != '/' && at[1] != '?' && at[1] != '!';
            break;
        case '>':
            nodes += at[1] != '<'; // text follows, or white space
            break;
        case '=':
            attributes += at[1] == '"' || at[1] == '\'';
            break;
        default:
            break;
        }
    }
    return xml.size() + nodes * kNodeBytes + attributes * kAttributeBytes;
}

} // namespace

void checkXmlTreeCost(const std::string& xml, const std::string& file, const std::string& partName)
{
    const std::size_t cost = treeCost(xml);
    if (cost > kTreeBudget)
        throw WorkbookError(CauseKind::WorkbookTooLarge, file, "the workbook is too large: the part " + partName + " of " +
                                      std::to_string(xml.size()) + " bytes would take about " +
                                      std::to_string(cost >> 20) + " MB to read (the limit is " +
                                      std::to_string(kTreeBudget >> 20) + " MB)");
}

void parseXmlPart(pugi::xml_document& document, const std::string& xml, const std::string& file,
                  const std::string& partName)
{
    if (xml.size() > kDocumentPartLimit)
        throw WorkbookError(CauseKind::WorkbookTooLarge, file, "the part " + partName + " is too large to be read as a document (" +
                                      std::to_string(xml.size()) + " bytes; the limit is " +
                                      std::to_string(kDocumentPartLimit) + ")");
    checkXmlTreeCost(xml, file, partName);
    // A text of white space only (<t> </t>) is still the cell's text.
    const pugi::xml_parse_result result = document.load_buffer(
        xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory)
        throw WorkbookError(CauseKind::WorkbookTooLarge, file, "the workbook is too large: reading the part " + partName + " ran out of memory");
    if (!result)
        throw WorkbookError(CauseKind::DamagedWorkbook, file, "malformed XML in " + partName + ": " + result.description() + " at byte " +
                                      std::to_string(result.offset));
    if (!document.document_element())
        throw WorkbookError(CauseKind::DamagedWorkbook, file, "the part " + partName + " holds no XML element");
}

std::string_view localName(const char* qualifiedName)
{
    const char* colon = std::strrchr(qualifiedName, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(qualifiedName);
}

std::string_view localName(std::string_view qualifiedName)
{
    const std::size_t colon = qualifiedName.rfind(':');
    return colon == std::string_view::npos ? qualifiedName : qualifiedName.substr(colon + 1);
}

pugi::xml_node childNamed(pugi::xml_node parent, std::string_view local)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && localName(child.name()) == local)
            return child;
    return {};
}

pugi::xml_attribute attributeNamed(pugi::xml_node node, std::string_view local)
{
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute; attribute = attribute.next_attribute())
        if (localName(attribute.name()) == local)
            return attribute;
    return {};
}

} // namespace sedilo::workbook
