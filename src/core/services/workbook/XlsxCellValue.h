#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sedilo::workbook {

class SharedStringTable;

// What reading the cells needs from the other parts.
struct SheetContext {
    const SharedStringTable& sharedStrings;
    const std::vector<bool>& dateStyles;
    bool date1904 = false;
};

// One <c> element as either sheet parser found it.
struct CellElement {
    int row = 0;
    int column = 0;
    std::string_view type;           // its t attribute
    const std::string* value = nullptr;  // the text of its <v>; null without one
    const std::string* inlineStored = nullptr; // its <is> text before decoding; null without one
    long long style = 0;             // its s attribute
};

// The cell's text, and whether it is an error value (the text is then the
// error, #N/A ...). Throws WorkbookError naming `file` and `partName` for a
// value that cannot be read.
std::string cellElementText(const CellElement& cell, const SheetContext& context, bool& error,
                            const std::string& file, const std::string& partName);

// pugixml's reading of an integer attribute or text: leading white space, a
// sign, decimal or 0x hex digits up to the first other character; 0 without
// digits.
long long leadingInteger(std::string_view text);

} // namespace sedilo::workbook
