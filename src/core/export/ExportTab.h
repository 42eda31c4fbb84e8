#pragma once

#include "services/ProgressControl.h"

namespace sedilo::exporting {

// The boxes of the group "打印用表": which print-ready sheets to write.
struct PrintSheetChoice {
    bool signIn = true; // 考场签到表
    bool door = true;   // 考场门贴
    bool lookup = true; // 考生座位表
};

// The query-export tab: the mode (`dcfl1` "按单位分类导出" selected means one
// workbook per unit, `dcfl2` one for everybody) and the progress bar
// `cxdcscpro` whose status text is the caption of the label `cxdcscts`, and
// the print-ready sheets to write.
struct ExportTab {
    bool byUnit = true;
    ProgressControl cxdcscpro;
    PrintSheetChoice printSheets;
};

} // namespace sedilo::exporting
