#pragma once

#include <string>

#include "services/ProgressControl.h"

namespace sedilo::arrange {

// The generation tab: the output folder text `ksoutpath`, and the progress bar
// `ksscpro` whose status text is the caption of the label `scts` (both are
// shown and hidden together).
struct GenerateTab {
    std::string ksoutpath;
    ProgressControl ksscpro;
};

} // namespace sedilo::arrange
