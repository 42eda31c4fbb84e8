#pragma once

#include <map>
#include <set>
#include <string>

namespace sedilo::workbook {

class ZipPackage;

// Parts of a package to leave out or to write with new content at save.
struct PartChanges {
    std::set<std::string> dropped;
    std::map<std::string, std::string> replaced; // part name to content
};

// Leaves out the workbook's calculation chain, with its relationship and its
// content type. Excel reports a chain that names a cell without a formula as
// damage, and builds a missing chain anew; so a save that turned formulas
// into values must not keep it.
void dropCalculationChain(const ZipPackage& package, const std::string& workbookPart, PartChanges& changes);

} // namespace sedilo::workbook
