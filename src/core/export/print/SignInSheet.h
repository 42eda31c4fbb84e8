#pragma once

#include <string>

#include "export/print/SeatedArrangement.h"

namespace sedilo::exporting {

inline constexpr const char* kSignInSheetName = "考场签到表";

// 考场签到表: one block per room in room order, each on a page of its own
// (A4 portrait, one page wide): the title, the examinee count, then a
// bordered row per seat with an empty 签名 cell tall enough to sign in.
void writeSignInSheet(const std::string& target, const SeatedArrangement& arrangement);

} // namespace sedilo::exporting
