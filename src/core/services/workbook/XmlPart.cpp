#include "services/workbook/XmlPart.h"

#include <algorithm>
#include <cstring>

#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

void parseXmlPart(pugi::xml_document& document, const std::string& xml, const std::string& file,
                  const std::string& partName)
{
    // A document costs up to some forty times its text; every element needs
    // a '<', so counting them bounds the nodes before any is made.
    if (xml.size() > kDocumentPartLimit)
        throw WorkbookError(file, "the part " + partName + " is too large to be read as a document (" +
                                      std::to_string(xml.size()) + " bytes; the limit is " +
                                      std::to_string(kDocumentPartLimit) + ")");
    if (std::count(xml.begin(), xml.end(), '<') > static_cast<std::ptrdiff_t>(kDocumentElementLimit))
        throw WorkbookError(file, "the part " + partName + " holds too many elements to be read as a document "
                                  "(the limit is " + std::to_string(kDocumentElementLimit) + ")");
    // A text of white space only (<t> </t>) is still the cell's text.
    const pugi::xml_parse_result result = document.load_buffer(
        xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!result)
        throw WorkbookError(file, "malformed XML in " + partName + ": " + result.description() + " at byte " +
                                      std::to_string(result.offset));
    if (!document.document_element())
        throw WorkbookError(file, "the part " + partName + " holds no XML element");
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
