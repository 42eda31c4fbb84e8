#pragma once

#include <string>

#include "basedata/ExamineeGrid.h"
#include "services/ProgressControl.h"

namespace sedilo::basedata {

// What the import tab's operations read and write: the path box `sjlj`, the
// grid `sjgrid` and the progress bar `Prbar`.
struct BaseDataTab {
    std::string sjlj;
    ExamineeGrid sjgrid;
    ProgressControl Prbar;
};

} // namespace sedilo::basedata
