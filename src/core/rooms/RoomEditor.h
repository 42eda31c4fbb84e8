#pragma once

#include <vector>
#include <utility>
#include <string>
#include "rooms/RoomsTab.h"

namespace sedilo {
class Prompt;
class ShellDialogs;
} // namespace sedilo

namespace sedilo::rooms {

// The room count texts: short after adding and deleting, long (with the note
// about red template paths) after loading.
enum class RoomCountText { Short, Long };

// Row 0 of the room grid: "考室名称", "考室模板文件".
void writeRoomGridHeaders(RoomGrid& grid);

// Click on ksgrid: the current room into ksname and ksmbpath.
void SelectRoom(RoomsTab& tab);

// Double click on ksgrid: hands the current room's template to the desktop.
void OpenRoomTemplate(const RoomsTab& tab, ShellDialogs& dialogs, Prompt& prompt);

// Click on szksbt: the chosen template path into ksmbpath ("" when cancelled).
void ChooseRoomTemplate(RoomsTab& tab, ShellDialogs& dialogs);

// Click on szksbt2: appends the room of ksname and ksmbpath.
void AddRoom(RoomsTab& tab, Prompt& prompt);

// AddRoom for each (name, template) from the front of `rooms`, leaving the
// grid and the texts as AddRoom would, in time linear in the list rather
// than quadratic. Stops before a room AddRoom would refuse, or at once when
// the grid has a row without a name; returns how many rooms it added, the
// caller gives the rest to AddRoom for its own words.
std::size_t AddRooms(RoomsTab& tab, const std::vector<std::pair<std::string, std::string>>& rooms);

// Click on PushButton8: rewrites the current room from ksname and ksmbpath.
void ModifyRoom(RoomsTab& tab, Prompt& prompt);

// Click on PushButton10: removes the current room.
void DeleteRoom(RoomsTab& tab, Prompt& prompt);

// Click on PushButton18: empties the list after a Yes.
void ClearRooms(RoomsTab& tab, Prompt& prompt);

// kstjstr from the number of data rows.
void UpdateRoomCount(RoomsTab& tab, RoomCountText kind);

} // namespace sedilo::rooms
