#pragma once

#include <string>

#include "export/ExportTab.h"
#include "services/Prompt.h"
#include "store/SeatingDatabase.h"
#include "store/SelectedRows.h"

namespace sedilo::exporting {

// The file name, without extension, of the one query workbook for everybody.
inline constexpr const char* kAllExamineesFileName = "所有考生查询数据导出";

// The query export of `PushButton5`: reads the working copy in room or unit
// order and writes the query workbooks into the output folder whose text is
// `ksoutpathText` (file names run straight on from its trimmed text). Every
// outcome is told through `prompt`; nothing is thrown. Only its arguments are
// touched, so it may run off the user-interface thread. Returns the number of
// workbooks saved, also when a failure ended the export part-way.
int ExportQueryWorkbooks(ExportTab& tab, const std::string& ksoutpathText,
                         store::SeatingDatabase& database, Prompt& prompt);

// The same export of rows a generation arranged without writing them back:
// every examinee's 姓名, 考号, 单位 and 考室, in rowid order.
int ExportQueryWorkbooks(ExportTab& tab, const std::string& ksoutpathText, store::SelectedRows arranged,
                         Prompt& prompt);

} // namespace sedilo::exporting
