#include "services/workbook/XlsxStrings.h"

#include "services/workbook/XmlPart.h"

namespace sedilo::workbook {

std::string storedItemText(pugi::xml_node item)
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
    return stored;
}

} // namespace sedilo::workbook
