#pragma once

#include <string>
#include <vector>

namespace sedilo::workbook {

class ZipPackage;

// Where the parts worksheet 1 needs lie in an .xlsx package.
struct WorkbookParts {
    std::string extension; // of the package's own format, with its dot
    std::string workbookPartName;
    std::string sheetPartName;
    bool date1904 = false;
    std::string sharedStringsPart; // "" when the workbook has none
    std::string stylesPart;        // "" when the workbook has none
};

// Follows the package relationships to the workbook and its sheet 1. Throws
// WorkbookError naming the file.
WorkbookParts locateParts(const ZipPackage& package);

// For each cell format of the styles part, whether it shows a date (none
// when `partName` is empty).
std::vector<bool> readDateStyles(const ZipPackage& package, const std::string& partName);

} // namespace sedilo::workbook
