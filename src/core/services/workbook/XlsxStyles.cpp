#include "services/workbook/XlsxStyles.h"

#include <cstdlib>
#include <map>
#include <string>

#include "services/workbook/CellText.h"
#include "services/workbook/XmlPart.h"

namespace sedilo::workbook {

std::vector<bool> readDateStyles(const pugi::xml_document& styles)
{
    const pugi::xml_node root = styles.document_element();
    std::map<long, bool> customIsDate;
    for (pugi::xml_node format : childNamed(root, "numFmts").children())
        if (format.type() == pugi::node_element && localName(format.name()) == "numFmt")
            customIsDate[std::strtol(format.attribute("numFmtId").value(), nullptr, 10)] =
                isDateFormatCode(format.attribute("formatCode").value());

    std::vector<bool> dateStyles;
    for (pugi::xml_node xf : childNamed(root, "cellXfs").children()) {
        if (xf.type() != pugi::node_element || localName(xf.name()) != "xf")
            continue;
        const long id = std::strtol(xf.attribute("numFmtId").value(), nullptr, 10);
        const auto custom = customIsDate.find(id);
        // A format defined in the file overrides a built-in one of the same id.
        dateStyles.push_back(custom != customIsDate.end() ? custom->second
                                                          : id >= 0 && id < 1000 && isBuiltinDateFormat(static_cast<int>(id)));
    }
    return dateStyles;
}

} // namespace sedilo::workbook
