#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "arrange/SeatNeighbours.h"

namespace sedilo::arrange {

// One room's stretch of the run's seats: its first `count` path seats, which
// follow the stretch of the room before in the sequence.
struct RoomStretch {
    long count = 0;
    const SeatNeighbours* neighbours = nullptr;
};

// The seats of all rooms of a run in fill order, as one sequence, with the
// neighbours of each position. Rooms never neighbour each other.
class SeatSequence {
public:
    explicit SeatSequence(const std::vector<RoomStretch>& rooms);

    long size() const { return static_cast<long>(m_offsets.size()) - 1; }
    // The neighbours of `position`, ascending.
    std::span<const std::int32_t> neighbours(long position) const;

private:
    std::vector<std::int64_t> m_offsets;
    std::vector<std::int32_t> m_list;
};

// The neighbour pairs (lower position first, ascending) whose two seats hold
// the same unit; `units[p]` is the unit seated at position p.
std::vector<std::pair<long, long>> sameUnitPairs(const SeatSequence& seats, const std::vector<int>& units);

} // namespace sedilo::arrange
