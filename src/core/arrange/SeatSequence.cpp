#include "arrange/SeatSequence.h"

namespace sedilo::arrange {

SeatSequence::SeatSequence(const std::vector<RoomStretch>& rooms)
{
    m_offsets.push_back(0);
    for (const RoomStretch& room : rooms) {
        const long first = size();
        for (long seat = 0; seat < room.count; ++seat) {
            for (const int other : room.neighbours->of(static_cast<int>(seat))) {
                if (other < room.count)
                    m_list.push_back(static_cast<std::int32_t>(first + other));
            }
            m_offsets.push_back(static_cast<std::int64_t>(m_list.size()));
        }
    }
}

std::span<const std::int32_t> SeatSequence::neighbours(long position) const
{
    return {m_list.data() + m_offsets[position], m_list.data() + m_offsets[position + 1]};
}

std::vector<std::pair<long, long>> sameUnitPairs(const SeatSequence& seats, const std::vector<int>& units)
{
    std::vector<std::pair<long, long>> pairs;
    for (long position = 0; position < seats.size(); ++position) {
        for (const std::int32_t other : seats.neighbours(position)) {
            if (other > position && units[other] == units[position])
                pairs.emplace_back(position, other);
        }
    }
    return pairs;
}

} // namespace sedilo::arrange
