#pragma once

#include <optional>
#include <string>
#include <vector>

#include "arrange/SeatCounts.h"
#include "rooms/RoomGrid.h"

namespace sedilo::arrange {

// The room list's seats against the examinees to seat.
struct Capacity {
    struct Room {
        std::string name;
        std::optional<long> seats; // none: the template is missing or unreadable
    };
    std::vector<Room> rooms;
    long seats = 0;        // of the rooms whose count is known
    int unknownRooms = 0;  // rooms whose count is not
    std::optional<long> examinees;

    // Fewer known seats than examinees (rooms of unknown count may make up for it).
    bool seatsShort() const { return examinees && seats < *examinees; }
};

// The non-blank rows of `grid`, each with its template's seat count.
Capacity measureCapacity(const rooms::RoomGrid& grid, SeatCounts& counts, std::optional<long> examinees);
// Rooms given as (name, template path).
Capacity measureCapacity(const std::vector<std::pair<std::string, std::string>>& rooms, SeatCounts& counts,
                         std::optional<long> examinees);

// The line shown beside the room count and before generation.
std::string capacityLine(const Capacity& capacity);
// A room's seats as its row's tooltip tells them.
std::string seatCountText(const std::optional<long>& seats);

} // namespace sedilo::arrange
