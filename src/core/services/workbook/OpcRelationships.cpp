#include "services/workbook/OpcRelationships.h"

#include <cctype>

#include "services/workbook/XmlPart.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

std::string relationshipsPartOf(const std::string& sourcePart)
{
    const auto slash = sourcePart.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? sourcePart : sourcePart.substr(slash + 1);
    return folder + "_rels/" + name + ".rels";
}

namespace {

std::string percentDecoded(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::vector<Relationship> readRelationships(const ZipPackage& package, const std::string& sourcePart)
{
    const std::string partName = relationshipsPartOf(sourcePart);
    const auto xml = package.readIfPresent(partName);
    if (!xml)
        return {};
    pugi::xml_document document;
    parseXmlPart(document, *xml, package.file(), partName);
    std::vector<Relationship> relationships;
    for (pugi::xml_node node : document.document_element().children()) {
        if (node.type() != pugi::node_element || localName(node.name()) != "Relationship")
            continue;
        relationships.push_back({node.attribute("Id").value(), node.attribute("Type").value(),
                                 node.attribute("Target").value(),
                                 std::string_view(node.attribute("TargetMode").value()) == "External"});
    }
    return relationships;
}

const Relationship* findRelationshipByType(const std::vector<Relationship>& relationships,
                                           std::string_view typeSuffix)
{
    for (const Relationship& relationship : relationships)
        if (!relationship.external && std::string_view(relationship.type).ends_with(typeSuffix))
            return &relationship;
    return nullptr;
}

const Relationship* findRelationshipById(const std::vector<Relationship>& relationships, std::string_view id)
{
    for (const Relationship& relationship : relationships)
        if (relationship.id == id)
            return &relationship;
    return nullptr;
}

std::string resolvePartName(const std::string& sourcePart, const std::string& target)
{
    std::string path = percentDecoded(target.substr(0, target.find('#')));
    if (path.empty() || path.front() != '/') {
        const auto slash = sourcePart.rfind('/');
        path = (slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1)) + path;
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments)
        resolved += (resolved.empty() ? "" : "/") + segment;
    return resolved;
}

} // namespace sedilo::workbook
