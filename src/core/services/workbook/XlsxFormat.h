#pragma once

#include <string>

namespace sedilo::workbook {

class ZipPackage;

// The extension of the format a package declares for its workbook part:
// ".xlsm" for a macro-enabled workbook, ".xltx"/".xltm" for templates,
// ".xlsx" otherwise. A filled copy keeps its template's format, and a
// macro-enabled package saved as ".xlsx" would not open in Excel.
std::string packageExtension(const ZipPackage& package, const std::string& workbookPartName);

} // namespace sedilo::workbook
