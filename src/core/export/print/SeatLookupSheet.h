#pragma once

#include <string>

#include "export/print/SeatedArrangement.h"

namespace sedilo::exporting {

inline constexpr const char* kSeatLookupSheetName = "考生座位表";

// 考生座位表 for homeroom teachers: one worksheet per unit, titled with it,
// its seated examinees by exam number with room and seat, and a closing line
// counting those of the unit who got no room. Title and header repeat on
// every printed page.
void writeSeatLookupSheet(const std::string& target, const SeatedArrangement& arrangement);

} // namespace sedilo::exporting
