#pragma once

#include <exception>
#include <string>
#include <vector>

#include "arrange/TemplateCache.h"
#include "rooms/RoomGrid.h"

namespace sedilo::arrange {

// One room the run produces: which examinees of the ordering it seats.
struct RoomJob {
    std::string room;
    const RoomTemplate* roomTemplate = nullptr;
    long first = 0; // index of its first examinee in the ordering
    long count = 0; // examinees it seats
    std::string target; // folder text + room name, without extension
};

// Why the run ends before the rooms or examinees are used up, and where.
struct RoomStop {
    enum class Kind { None, TemplateMissing, Failure };
    Kind kind = Kind::None;
    std::string templatePath;   // TemplateMissing: the grid text of the missing file
    std::exception_ptr failure; // Failure: what ends the run
    std::string room;           // Failure: the room being filled
    long first = 0;             // Failure: its first examinee
    long assigned = 0;          // Failure: seats it gave before failing
};

struct RoomSchedule {
    std::vector<RoomJob> jobs;
    RoomStop stop;
};

// Lays `examinees` (in ordering sequence) over the rooms of the grid in grid
// order, as far as a room-by-room run would get: up to the room where the
// examinees run out, or up to the first room that stops the run. A room's seat
// count depends only on its template, so this is known before any room is
// written. A list naming one room twice stops before its first room.
RoomSchedule scheduleRooms(const rooms::RoomGrid& grid, const std::string& folderText, TemplateCache& cache,
                           long examinees);

} // namespace sedilo::arrange
