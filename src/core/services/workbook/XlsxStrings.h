#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

namespace sedilo::workbook {

// The text of a string item (<si> of the shared strings, <is> of an inline
// string): plain <t>, or the <t> of its rich-text runs concatenated; phonetic
// runs (<rPh>) are left out and `_xHHHH_` escapes decoded.
std::string stringItemText(pugi::xml_node item);

// The shared-string table, in index order.
std::vector<std::string> readSharedStrings(const pugi::xml_document& document);

} // namespace sedilo::workbook
