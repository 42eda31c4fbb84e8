#pragma once

#include <string>
#include <vector>

#include "export/ExportTab.h"
#include "services/Prompt.h"
#include "store/SeatingDatabase.h"

namespace sedilo::exporting {

struct PrintSheetsResult {
    bool succeeded = false;
    std::vector<std::string> written; // paths of the sheets written, also before a failure
};

// The button "生成打印用表" of the group "打印用表": writes the chosen
// print-ready sheets of the current arrangement (the working copy only) into
// the output folder whose text is `ksoutpathText`, replacing earlier sheets of
// the same names but never a room or query workbook of the arrangement.
// `roomOrder` is the room list in grid order. Every outcome is told through
// `prompt`; nothing is thrown. Touches only its arguments, so it may run off
// the user-interface thread.
PrintSheetsResult WritePrintSheets(const PrintSheetChoice& choice, const std::string& ksoutpathText,
                                   const std::vector<std::string>& roomOrder, store::SeatingDatabase& database,
                                   Prompt& prompt);

} // namespace sedilo::exporting
