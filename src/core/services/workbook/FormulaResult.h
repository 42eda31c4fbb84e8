#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/failure/Failure.h"

namespace sedilo::workbook {

// Whether a formula cell carries a stored result. Writers that leave the
// calculation to the program opening the file (openpyxl, POI without
// evaluation, xlwt) store none; such a cell has no text to read, and reading
// it as empty would turn a name into the end of the list and a score into 0.
// Evaluating formulas is not ours to do, so a reader that needs the value
// refuses the cell through formulaWithoutResult().

// .xlsx: from the <c> element of a formula cell, its t attribute and its <v>
// element (`value` null when the element has none). An empty <v> is a result
// only for a text result (t="str"): that is how an empty text is stored.
bool xlsxFormulaHasResult(std::string_view type, const char* value);

// .xls: from the result field of a FORMULA record (its first and last bytes
// give the kind: 0xFFFF in the last two marks a non-number) and whether a
// STRING record followed it. The empty-text kind is what xlwt stores for
// every formula, and it cannot be told from a calculated empty text.
bool xlsFormulaHasResult(std::uint8_t kind, bool number, bool stringRecordFollowed);

// The failure of a reader that needs the value of such a cell.
Failure formulaWithoutResult(const std::string& file, int row, int column);

} // namespace sedilo::workbook
