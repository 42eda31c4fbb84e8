#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace sedilo::workbook {

// Parses one XML part of a package as UTF-8; malformed XML throws WorkbookError
// naming the file, the part and where the fault lies, a part too large to
// parse in bounded memory one saying so.
void parseXmlPart(pugi::xml_document& document, const std::string& xml, const std::string& file,
                  const std::string& partName);

// Refuses, as too large, a part whose parsed tree would take more memory than
// any real workbook needs; counted in one pass without parsing.
void checkXmlTreeCost(const std::string& xml, const std::string& file, const std::string& partName);

// Element and attribute names without their namespace prefix: writers differ
// in the prefixes they use ("c", "x:c").
std::string_view localName(const char* qualifiedName);
pugi::xml_node childNamed(pugi::xml_node parent, std::string_view local);
pugi::xml_attribute attributeNamed(pugi::xml_node node, std::string_view local);

} // namespace sedilo::workbook
