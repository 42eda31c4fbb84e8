#include "services/workbook/XlsxStrings.h"

#include "services/workbook/XlsxText.h"
#include "services/workbook/XmlPart.h"

namespace sedilo::workbook {

std::string stringItemText(pugi::xml_node item)
{
    std::string stored;
    for (pugi::xml_node child : item.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const std::string_view name = localName(child.name());
        if (name == "t") {
            stored += child.text().get();
        } else if (name == "r") {
            if (const pugi::xml_node text = childNamed(child, "t"))
                stored += text.text().get();
        }
    }
    return decodeStoredText(stored);
}

std::vector<std::string> readSharedStrings(const pugi::xml_document& document)
{
    std::vector<std::string> strings;
    for (pugi::xml_node item : document.document_element().children())
        if (item.type() == pugi::node_element && localName(item.name()) == "si")
            strings.push_back(stringItemText(item));
    return strings;
}

} // namespace sedilo::workbook
