#pragma once

#include "services/ProgressControl.h"

namespace sedilo::exporting {

// The query-export tab: the mode (`dcfl1` "按单位分类导出" selected means one
// workbook per unit, `dcfl2` one for everybody) and the progress bar
// `cxdcscpro` whose status text is the caption of the label `cxdcscts`.
struct ExportTab {
    bool byUnit = true;
    ProgressControl cxdcscpro;
};

} // namespace sedilo::exporting
