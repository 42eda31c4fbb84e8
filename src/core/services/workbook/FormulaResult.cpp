#include "services/workbook/FormulaResult.h"

namespace sedilo::workbook {

bool xlsxFormulaHasResult(std::string_view type, const char* value)
{
    if (type == "inlineStr")
        return true;
    if (!value)
        return false;
    return *value != '\0' || type == "str";
}

bool xlsFormulaHasResult(std::uint8_t kind, bool number, bool stringRecordFollowed)
{
    if (number)
        return true;
    switch (kind) {
    case 0: // text, in the STRING record that follows
        return stringRecordFollowed;
    case 1: // boolean
    case 2: // error
        return true;
    default: // 3, an empty text
        return false;
    }
}

Failure formulaWithoutResult(const std::string& file, int row, int column)
{
    return Failure({.kind = CauseKind::FormulaWithoutResult,
                    .file = file,
                    .row = row,
                    .column = column,
                    .detail = "the formula has no stored result"});
}

} // namespace sedilo::workbook
