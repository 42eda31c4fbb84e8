#pragma once

#include <pugixml.hpp>
#include <vector>

namespace sedilo::workbook {

// For each cell format (<xf> of <cellXfs>, indexed by a cell's s attribute),
// whether its number format shows a date.
std::vector<bool> readDateStyles(const pugi::xml_document& styles);

} // namespace sedilo::workbook
