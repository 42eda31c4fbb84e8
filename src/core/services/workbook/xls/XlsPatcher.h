#pragma once

#include <map>
#include <string>

#include "services/workbook/xls/XlsBook.h"

namespace sedilo::workbook::xls {

// The workbook stream of `book` with the texts of `edits` written into
// worksheet 1, changed in place rather than rebuilt: new texts are appended
// to the shared-string table (existing entries may be shared and are never
// changed), the edited cells become LABELSST records pointing at them, the
// table and its EXTSST index are laid out anew, and every stream position
// that moved (sheet offsets, INDEX and DBCELL records) is corrected. All
// other records are copied byte for byte.
std::string patchWorkbookStream(const XlsBook& book, const std::map<CellKey, std::string>& edits);

} // namespace sedilo::workbook::xls
