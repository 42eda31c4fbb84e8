#pragma once

#include "basedata/BaseDataTab.h"
#include "services/Prompt.h"

namespace sedilo::store {
class SeatingDatabase;
}

namespace sedilo::basedata {

inline constexpr const char* kBaseDataCleared = "基础数据已清空！";
inline constexpr const char* kClearingFailed = "基础数据清空失败！";

// `PushButton12`: deletes the base data and resets `sjgrid`, without asking.
// A database failure is shown with its cause and leaves the grid as it was.
void ClearBaseData(BaseDataTab& tab, store::SeatingDatabase& database, Prompt& prompt);

} // namespace sedilo::basedata
