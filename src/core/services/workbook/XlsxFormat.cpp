#include "services/workbook/XlsxFormat.h"

#include <pugixml.hpp>
#include <string_view>

#include "services/workbook/TextReplace.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

namespace {

constexpr const char* kDefaultExtension = ".xlsx";

struct FormatExtension {
    std::string_view contentType;
    const char* extension;
};

constexpr FormatExtension kFormats[] = {
    {"application/vnd.ms-excel.sheet.macroEnabled.main+xml", ".xlsm"},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml", ".xltx"},
    {"application/vnd.ms-excel.template.macroEnabled.main+xml", ".xltm"},
};

} // namespace

std::string packageExtension(const ZipPackage& package, const std::string& workbookPartName)
{
    const auto types = package.readIfPresent("[Content_Types].xml");
    if (!types)
        return kDefaultExtension;
    pugi::xml_document document;
    parseXmlPart(document, *types, package.file(), "[Content_Types].xml");
    const std::string partName = "/" + workbookPartName;
    // Part names and content types compare without regard to ASCII letter case.
    for (pugi::xml_node node : document.document_element().children()) {
        if (localName(node.name()) != "Override" || !equalsIgnoringAsciiCase(node.attribute("PartName").value(), partName))
            continue;
        const std::string_view type = node.attribute("ContentType").value();
        for (const FormatExtension& format : kFormats)
            if (equalsIgnoringAsciiCase(type, format.contentType))
                return format.extension;
        break;
    }
    return kDefaultExtension;
}

} // namespace sedilo::workbook
