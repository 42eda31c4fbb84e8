#pragma once

#include <string>

#include "arrange/ExamineeSource.h"
#include "arrange/SeatPath.h"
#include "rooms/ArrangementOptions.h"
#include "services/workbook/Workbook.h"

namespace sedilo::arrange {

// Seats examinees from `source` in the seat cells of `path` (traced on the
// sheet's template), then writes the Room label over "考室名称" and blanks the
// placeholder words left anywhere in the sheet. Returns the number seated.
int fillRoomSheet(workbook::Worksheet& sheet, const SeatPath& path, const std::string& roomName,
                  ExamineeSource& source);

// room + "(" + seated + "人)".
std::string roomLabel(const std::string& roomName, int seated);

// One room: opens the template, fills it, saves it as folderText + roomName
// with the template's own extension and returns the saved path. Refuses a room
// name that would leave the folder and a save that would overwrite the template.
std::string FillRoomWorkbook(const std::string& templatePath, const std::string& roomName,
                             const std::string& folderText, rooms::FillDirection direction, ExamineeSource& source);

} // namespace sedilo::arrange
