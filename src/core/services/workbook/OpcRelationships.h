#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sedilo::workbook {

class ZipPackage;

// One relationship of a package part (Open Packaging Conventions).
struct Relationship {
    std::string id;
    std::string type;
    std::string target; // as written: relative to the source part, or absolute
    bool external = false;
};

// The relationships of `sourcePart` ("" for the package itself); none when
// the package has no relationship part for it.
std::vector<Relationship> readRelationships(const ZipPackage& package, const std::string& sourcePart);

// The first relationship whose type ends with `typeSuffix` (e.g. "/worksheet"),
// which matches the transitional and the strict type names alike.
const Relationship* findRelationshipByType(const std::vector<Relationship>& relationships,
                                           std::string_view typeSuffix);
const Relationship* findRelationshipById(const std::vector<Relationship>& relationships, std::string_view id);

// The relationship part of `sourcePart` ("" for the package itself).
std::string relationshipsPartOf(const std::string& sourcePart);

// The zip entry name a relationship target of `sourcePart` points at.
std::string resolvePartName(const std::string& sourcePart, const std::string& target);

} // namespace sedilo::workbook
