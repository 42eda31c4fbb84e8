#pragma once

#include <string>

#include "rooms/ArrangementOptions.h"
#include "rooms/RoomGrid.h"
#include "rooms/SeatingRule.h"

namespace sedilo::rooms {

// What the room tab's operations read and write.
struct RoomsTab {
    RoomGrid ksgrid;
    std::string ksname = "第1考室";
    std::string ksmbpath;
    std::string kstjstr = "当前共有0考室";
    ArrangementOptions options;
    SeatingRule seatingRule;
};

} // namespace sedilo::rooms
