#pragma once

#include <string>

#include "export/print/SeatedArrangement.h"

namespace sedilo::exporting {

inline constexpr const char* kDoorSheetName = "考场门贴";

// 考场门贴: one A4 landscape page per room for its door: the room name in
// large type, the examinee count, the smallest and greatest exam number and
// the units seated there with their counts.
void writeDoorSheet(const std::string& target, const SeatedArrangement& arrangement);

} // namespace sedilo::exporting
