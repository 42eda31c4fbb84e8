#include "services/workbook/XlsxParts.h"

#include <pugixml.hpp>

#include "services/workbook/OpcRelationships.h"
#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxFormat.h"
#include "services/workbook/XlsxStyles.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

WorkbookParts locateParts(const ZipPackage& package)
{
    const std::string& file = package.file();
    const auto packageRelationships = readRelationships(package, "");
    const Relationship* office = findRelationshipByType(packageRelationships, "/officeDocument");
    if (!office)
        throw WorkbookError(file, "not a workbook: _rels/.rels names no workbook part");
    const std::string workbookName = resolvePartName("", office->target);

    pugi::xml_document workbook;
    parseXmlPart(workbook, package.read(workbookName), file, workbookName);
    const pugi::xml_node root = workbook.document_element();
    WorkbookParts parts;
    parts.workbookPartName = workbookName;
    parts.extension = packageExtension(package, workbookName);
    const pugi::xml_attribute date1904 = childNamed(root, "workbookPr").attribute("date1904");
    parts.date1904 = date1904.as_bool();

    const pugi::xml_node firstSheet = childNamed(childNamed(root, "sheets"), "sheet");
    if (!firstSheet)
        throw WorkbookError(file, "the workbook has no sheet");
    const std::string id = attributeNamed(firstSheet, "id").value();
    const auto relationships = readRelationships(package, workbookName);
    const Relationship* sheet = findRelationshipById(relationships, id);
    if (!sheet || sheet->external)
        throw WorkbookError(file, "the part of sheet 1 (\"" + std::string(firstSheet.attribute("name").value()) +
                                      "\") is not named in the workbook's relationships");
    if (!std::string_view(sheet->type).ends_with("/worksheet"))
        throw WorkbookError(file, "sheet 1 (\"" + std::string(firstSheet.attribute("name").value()) +
                                      "\") is not a worksheet but " + sheet->type.substr(sheet->type.rfind('/') + 1));
    parts.sheetPartName = resolvePartName(workbookName, sheet->target);
    if (const Relationship* strings = findRelationshipByType(relationships, "/sharedStrings"))
        parts.sharedStringsPart = resolvePartName(workbookName, strings->target);
    if (const Relationship* styles = findRelationshipByType(relationships, "/styles"))
        parts.stylesPart = resolvePartName(workbookName, styles->target);
    return parts;
}

std::vector<bool> readDateStyles(const ZipPackage& package, const std::string& partName)
{
    if (partName.empty())
        return {};
    pugi::xml_document document;
    parseXmlPart(document, package.read(partName), package.file(), partName);
    return readDateStyles(document);
}

} // namespace sedilo::workbook
