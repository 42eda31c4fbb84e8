#pragma once

#include <pugixml.hpp>
#include <string>

namespace sedilo::workbook {

// The stored text of a string item (<is> of an inline string, laid out as
// <si> of the shared strings): plain <t>, or the <t> of its rich-text runs
// concatenated; phonetic runs (<rPh>) are left out. Its `_xHHHH_` escapes
// are still to be decoded.
std::string storedItemText(pugi::xml_node item);

} // namespace sedilo::workbook
