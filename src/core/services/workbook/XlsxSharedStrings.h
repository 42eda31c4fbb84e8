#pragma once

#include <string>

#include "services/text/TextArena.h"

namespace sedilo::workbook {

class ZipPackage;

// The shared-string table of an .xlsx, compactly.
class SharedStringTable : public TextArena {
public:
    // More strings than any sheet of 1,048,576 rows can refer to usefully.
    static constexpr std::size_t kStringLimit = 16u * 1024 * 1024;
};

// Streams the shared-string part (none when `partName` is empty): each <si>
// read as storedItemText reads an inline string, decoded. Throws WorkbookError naming the file.
SharedStringTable loadSharedStrings(const ZipPackage& package, const std::string& partName);

} // namespace sedilo::workbook
