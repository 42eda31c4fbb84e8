#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "services/workbook/XlsxCellValue.h"

namespace sedilo::workbook {

// Row and column in one number that orders cells row by row, left to right.
inline std::uint64_t cellKey(int row, int column)
{
    return (static_cast<std::uint64_t>(row) << 16) | static_cast<std::uint64_t>(column);
}

// One <c> element of the sheet part: where its bytes lie and its text.
struct IndexedCell {
    int row = 0;
    int column = 0;
    std::size_t begin = 0; // the '<' of the element
    std::size_t end = 0;   // just past the element
    std::string text;      // the cell's text; the error value for an error cell
    bool formula = false;
    bool error = false;
    bool noResult = false; // a formula whose result was never stored: no text
    // The <f> element of a formula cell, and the shared formula it belongs
    // to (-1 for none); the master holds the formula text of the group.
    std::size_t formulaBegin = 0;
    std::size_t formulaEnd = 0;
    long long sharedGroup = -1;
    bool sharedMaster = false;

    bool hasValue() const { return formula || error || !text.empty(); }
};

// One <row> element, where cells of that row not yet in the part go.
struct IndexedRow {
    int row = 0;
    std::size_t begin = 0;      // the '<' of the element
    std::size_t contentEnd = 0; // its end tag, or the "/>" of an empty row
    bool selfClosing = false;
    std::string cellStyle;      // s of a row whose cells take a row format
};

// What the cells of worksheet 1 read, and where each lies in the part's text.
struct SheetIndex {
    std::vector<IndexedCell> cells; // in the part's order
    std::vector<IndexedRow> rows;   // in the part's order
    std::size_t sheetDataContentEnd = 0; // end tag of <sheetData>, or its "/>"
    bool sheetDataSelfClosing = false;
    std::string prefix;                  // namespace prefix of the sheet's elements ("" or "x:")
    std::vector<std::uint32_t> byKey;    // cell indices ordered by cellKey

    const IndexedCell* find(int row, int column) const;
    const IndexedRow* findRow(int row) const;
};

// Indexes the sheet part's XML. Throws WorkbookError naming `file` for
// malformed XML and for cells that cannot be read.
SheetIndex indexSheet(const std::string& xml, const SheetContext& context, const std::string& file,
                      const std::string& partName);

} // namespace sedilo::workbook
