#include "services/workbook/CalcChain.h"

#include <sstream>

#include "services/workbook/OpcRelationships.h"
#include "services/workbook/TextReplace.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

namespace {

std::string serialized(const pugi::xml_document& document)
{
    std::ostringstream out;
    document.save(out, "", pugi::format_raw);
    return out.str();
}

// The part without the children of its root element that `drop` picks.
template <typename Predicate>
std::string withoutChildren(const ZipPackage& package, const std::string& partName, Predicate drop)
{
    pugi::xml_document document;
    parseXmlPart(document, package.read(partName), package.file(), partName);
    pugi::xml_node root = document.document_element();
    for (pugi::xml_node child = root.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (child.type() == pugi::node_element && drop(child))
            root.remove_child(child);
        child = next;
    }
    return serialized(document);
}

} // namespace

void dropCalculationChain(const ZipPackage& package, const std::string& workbookPart, PartChanges& changes)
{
    const auto relationships = readRelationships(package, workbookPart);
    const Relationship* chain = findRelationshipByType(relationships, "/calcChain");
    if (!chain)
        return;
    const std::string chainPart = resolvePartName(workbookPart, chain->target);
    const std::string chainId = chain->id;
    changes.dropped.insert(chainPart);
    changes.replaced[relationshipsPartOf(workbookPart)] =
        withoutChildren(package, relationshipsPartOf(workbookPart), [&](pugi::xml_node node) {
            return localName(node.name()) == "Relationship" && chainId == node.attribute("Id").value();
        });
    if (package.find("[Content_Types].xml")) {
        const std::string partName = "/" + chainPart;
        changes.replaced["[Content_Types].xml"] =
            withoutChildren(package, "[Content_Types].xml", [&](pugi::xml_node node) {
                return localName(node.name()) == "Override" && equalsIgnoringAsciiCase(node.attribute("PartName").value(), partName);
            });
    }
}

} // namespace sedilo::workbook
