#include "arrange/SeatNeighbours.h"

#include <algorithm>

namespace sedilo::arrange {

namespace {

std::vector<int> ranksOf(std::vector<int> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

int rankIn(const std::vector<int>& ranked, int value)
{
    return static_cast<int>(std::lower_bound(ranked.begin(), ranked.end(), value) - ranked.begin());
}

} // namespace

SeatNeighbours::SeatNeighbours(const std::vector<SeatCell>& seats, rooms::Neighbourhood neighbourhood)
{
    std::vector<int> rows;
    std::vector<int> columns;
    for (const SeatCell& seat : seats) {
        rows.push_back(seat.row);
        columns.push_back(seat.column);
    }
    const std::vector<int> rowRanks = ranksOf(rows);
    const std::vector<int> columnRanks = ranksOf(columns);
    const int width = static_cast<int>(columnRanks.size());
    const int height = static_cast<int>(rowRanks.size());
    std::vector<int> seatAt(static_cast<std::size_t>(width) * height, -1);
    std::vector<int> rowOf(seats.size());
    std::vector<int> columnOf(seats.size());
    for (std::size_t k = 0; k < seats.size(); ++k) {
        rowOf[k] = rankIn(rowRanks, seats[k].row);
        columnOf[k] = rankIn(columnRanks, seats[k].column);
        seatAt[static_cast<std::size_t>(rowOf[k]) * width + columnOf[k]] = static_cast<int>(k);
    }

    const bool diagonals = neighbourhood == rooms::Neighbourhood::Around;
    m_offsets.reserve(seats.size() + 1);
    m_offsets.push_back(0);
    for (std::size_t k = 0; k < seats.size(); ++k) {
        const std::size_t start = m_list.size();
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                if ((dr == 0 && dc == 0) || (!diagonals && dr != 0 && dc != 0))
                    continue;
                const int row = rowOf[k] + dr;
                const int column = columnOf[k] + dc;
                if (row < 0 || row >= height || column < 0 || column >= width)
                    continue;
                const int other = seatAt[static_cast<std::size_t>(row) * width + column];
                if (other >= 0)
                    m_list.push_back(other);
            }
        }
        std::sort(m_list.begin() + static_cast<std::ptrdiff_t>(start), m_list.end());
        m_offsets.push_back(static_cast<int>(m_list.size()));
    }
}

std::span<const int> SeatNeighbours::of(int seat) const
{
    return {m_list.data() + m_offsets[seat], m_list.data() + m_offsets[seat + 1]};
}

} // namespace sedilo::arrange
