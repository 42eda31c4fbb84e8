#pragma once

#include <string>
#include <vector>

#include "rooms/RoomsTab.h"

namespace sedilo {
class Prompt;
} // namespace sedilo

namespace sedilo::rooms {

// True for a path that names a workbook the engine reads (.xls, .xlsx and
// the .xlsx family's macro and template kinds, any letter case), the only
// files a drop onto the window takes.
bool isDroppableWorkbook(const std::string& path);

// The next free suggested room name, "第N考室" from the number of rooms on.
std::string nextSuggestedRoomName(const RoomGrid& grid);

// Workbooks dropped on the room list: one room per workbook, in order, each
// added as "新  增" adds one, under the next suggested name. Other files are
// skipped. The template box keeps its text; the name box shows the next
// suggestion. Returns how many rooms were added.
int AddDroppedTemplates(RoomsTab& tab, const std::vector<std::string>& paths, Prompt& prompt);

} // namespace sedilo::rooms
