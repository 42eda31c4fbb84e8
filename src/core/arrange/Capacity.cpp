#include "arrange/Capacity.h"

#include "services/Messages.h"

namespace sedilo::arrange {

Capacity measureCapacity(const std::vector<std::pair<std::string, std::string>>& rooms, SeatCounts& counts,
                         std::optional<long> examinees)
{
    Capacity capacity;
    capacity.examinees = examinees;
    for (const auto& [name, templatePath] : rooms) {
        const std::optional<long> seats = counts.of(templatePath);
        capacity.rooms.push_back({name, seats});
        if (seats)
            capacity.seats += *seats;
        else
            ++capacity.unknownRooms;
    }
    return capacity;
}

Capacity measureCapacity(const rooms::RoomGrid& grid, SeatCounts& counts, std::optional<long> examinees)
{
    std::vector<std::pair<std::string, std::string>> rooms;
    for (int row = 1; row < grid.Rows(); ++row)
        if (!grid.isBlankRow(row))
            rooms.emplace_back(grid.TextMatrix(row, 0), grid.TextMatrix(row, 1));
    return measureCapacity(rooms, counts, examinees);
}

std::string capacityLine(const Capacity& capacity)
{
    return messages::capacityLine(capacity.seats, capacity.unknownRooms, capacity.examinees);
}

std::string seatCountText(const std::optional<long>& seats)
{
    return messages::seatCount(seats);
}

} // namespace sedilo::arrange
