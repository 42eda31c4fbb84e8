#pragma once

#include <optional>

#include "rooms/ArrangementOptions.h"
#include "rooms/RoomGrid.h"
#include "services/ProgressControl.h"
#include "services/Prompt.h"
#include "store/SeatingDatabase.h"

namespace sedilo::session {

inline constexpr const char* kNoBaseData = "基础数据没导入，请先导入基础数据！";
inline constexpr const char* kNoRooms = "没设置考室参数，请先设置考室参数！";
inline constexpr const char* kNoArrangement = "没生成考室编排表，请先生成考室编排表！";

// Tab indexes of TabControl1.
inline constexpr int kBaseDataTabIndex = 0;
inline constexpr int kRoomsTabIndex = 1;
inline constexpr int kGenerateTabIndex = 2;
inline constexpr int kExportTabIndex = 3;

// Runs whenever another tab of TabControl1 is selected. A tab may only be
// entered once the earlier steps have produced their data: base data for the
// room tab, a room as well for the generation tab, a generated arrangement as
// well for the export tab. It keeps only the base data's size its last check saw.
class TabGuard {
public:
    TabGuard(store::SeatingDatabase& database, const rooms::RoomGrid& ksgrid,
             const rooms::ArrangementOptions& options, Prompt& prompt, ProgressControl& ksscpro,
             ProgressControl& cxdcscpro);

    // Checks the newly selected tab. Returns the tab to select instead after
    // showing why, or nothing when the tab may stay selected. Entering the
    // generation or export tab hides that tab's progress controls. A database
    // failure is reported and sends the user back as the check it stopped did.
    std::optional<int> TabChanged(int newIndex);

    // The examinees in the base data when a check last counted them.
    std::optional<long> baseDataExaminees() const { return m_baseDataExaminees; }

private:
    bool hasBaseData();
    bool hasRooms() const;
    bool hasArrangement();
    std::optional<int> refuse(const char* message, int index);

    store::SeatingDatabase& m_database;
    const rooms::RoomGrid& m_ksgrid;
    const rooms::ArrangementOptions& m_options;
    Prompt& m_prompt;
    ProgressControl& m_ksscpro;
    ProgressControl& m_cxdcscpro;
    std::optional<long> m_baseDataExaminees;
};

} // namespace sedilo::session
