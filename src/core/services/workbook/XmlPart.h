#pragma once

#include <cstddef>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace sedilo::workbook {

// The largest part read as a document: far above any room template. Larger
// sheets are only ever streamed.
inline constexpr std::size_t kDocumentPartLimit = 32u * 1024 * 1024;

// Parses one XML part of a package as UTF-8; malformed XML throws WorkbookError
// naming the file, the part and where the fault lies, and a part beyond the
// limit above, or whose document would take more memory than any real
// workbook needs (checkXmlTreeCost), is refused before it is parsed.
void parseXmlPart(pugi::xml_document& document, const std::string& xml, const std::string& file,
                  const std::string& partName);

// Refuses, as too large, a part whose parsed tree would take more memory than
// any real workbook needs; counted in one pass without parsing.
void checkXmlTreeCost(const std::string& xml, const std::string& file, const std::string& partName);

// Element and attribute names without their namespace prefix: writers differ
// in the prefixes they use ("c", "x:c").
std::string_view localName(const char* qualifiedName);
std::string_view localName(std::string_view qualifiedName);
pugi::xml_node childNamed(pugi::xml_node parent, std::string_view local);
pugi::xml_attribute attributeNamed(pugi::xml_node node, std::string_view local);

} // namespace sedilo::workbook
