#pragma once

#include <span>
#include <vector>

#include "arrange/SeatPath.h"
#include "rooms/SeatingRule.h"

namespace sedilo::arrange {

// Which seat cells of one template sit next to each other. The distinct rows
// holding seats are ranked top to bottom and the distinct columns left to
// right, so an empty aisle row or column between two seats does not part
// them: side neighbours differ by one rank in exactly one of the two, around
// neighbours by at most one in both.
class SeatNeighbours {
public:
    // `seats` in path order; neighbours are given as indexes into it.
    SeatNeighbours(const std::vector<SeatCell>& seats, rooms::Neighbourhood neighbourhood);

    // The neighbours of seat `seat` (0-based path index), ascending.
    std::span<const int> of(int seat) const;

    int seatCount() const { return static_cast<int>(m_offsets.size()) - 1; }

private:
    std::vector<int> m_offsets; // seat k's neighbours are m_list[m_offsets[k] .. m_offsets[k + 1])
    std::vector<int> m_list;
};

} // namespace sedilo::arrange
