#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <vector>

#include "arrange/ApartOrdering.h"

namespace sedilo::arrange {
namespace {

using rooms::Neighbourhood;

// Rows 2.., columns A, B, D, E, ... (C is an aisle), in vertical S order.
std::vector<SeatCell> aisleRoom(int rows = 6, int columns = 5)
{
    std::vector<SeatCell> seats;
    bool down = true;
    for (int rank = 1; rank <= columns; ++rank) {
        const int column = rank <= 2 ? rank : rank + 1;
        for (int step = 0; step < rows; ++step)
            seats.push_back({down ? 2 + step : 1 + rows - step, column, "姓名"});
        down = !down;
    }
    return seats;
}

// Neighbours worked out from the cells themselves, the way an invigilator
// counts them: over the aisle column C, D stands next to B.
int rank(int column) { return column <= 2 ? column : column - 1; }
bool neighbours(const SeatCell& a, const SeatCell& b, Neighbourhood neighbourhood)
{
    const int dr = std::abs(a.row - b.row);
    const int dc = std::abs(rank(a.column) - rank(b.column));
    if (neighbourhood == Neighbourhood::Side)
        return dr + dc == 1;
    return std::max(dr, dc) == 1;
}

struct Seating {
    std::vector<long> examineeAt;
    long pairs = 0;       // counted here, from the cells
    long displacement = 0;
};

// Seats units[i] for examinee i in `rooms` rooms of `cells` and checks
// that everyone got exactly one seat and the reported count is honest.
Seating seatAll(const std::vector<int>& units, int rooms, Neighbourhood neighbourhood,
                const std::vector<SeatCell>& cells = aisleRoom())
{
    const long perRoom = static_cast<long>(cells.size());
    const SeatNeighbours seatNeighbours(cells, neighbourhood);
    const long size = static_cast<long>(units.size());
    std::vector<RoomStretch> stretches;
    for (long left = size, room = 0; room < rooms && left > 0; ++room, left -= perRoom)
        stretches.push_back({std::min(left, perRoom), &seatNeighbours});
    const SeatSequence sequence(stretches);
    EXPECT_EQ(sequence.size(), size);
    const ApartOrder order = orderApart(sequence, units, neighbourhood);

    Seating run{order.examineeAt};
    EXPECT_EQ(std::set<long>(run.examineeAt.begin(), run.examineeAt.end()).size(), units.size());
    for (long p = 0; p < size; ++p) {
        run.displacement = std::max(run.displacement, std::abs(run.examineeAt[p] - p));
        for (long q = p + 1; q < size && q / perRoom == p / perRoom; ++q) {
            if (neighbours(cells[p % perRoom], cells[q % perRoom], neighbourhood)
                && units[run.examineeAt[p]] == units[run.examineeAt[q]])
                ++run.pairs;
        }
    }
    EXPECT_EQ(order.sameUnitPairs, run.pairs);
    EXPECT_EQ(order.displacement, run.displacement);
    return run;
}

TEST(SeatNeighbours, RanksJoinSeatsAcrossAnAisleColumn)
{
    const std::vector<SeatCell> cells = aisleRoom();
    for (const Neighbourhood neighbourhood : {Neighbourhood::Side, Neighbourhood::Around}) {
        const SeatNeighbours found(cells, neighbourhood);
        for (int a = 0; a < 30; ++a) {
            std::set<int> expected;
            for (int b = 0; b < 30; ++b) {
                if (b != a && neighbours(cells[a], cells[b], neighbourhood))
                    expected.insert(b);
            }
            const auto list = found.of(a);
            EXPECT_EQ(std::set<int>(list.begin(), list.end()), expected) << "seat " << a;
        }
    }
    // B2 (seat 6 is B7 going up, so B2 is seat 11) and D2 (seat 12) are side neighbours.
    const SeatNeighbours side(cells, Neighbourhood::Side);
    const auto ofB2 = side.of(11);
    EXPECT_NE(std::find(ofB2.begin(), ofB2.end(), 12), ofB2.end());
}

TEST(ApartOrdering, MixedListKeepsItsOrderWithinThirtyPlaces)
{
    // Exam-number order, units as schools hand them in: mixed, uneven sizes.
    std::vector<int> units;
    unsigned state = 12345;
    for (int i = 0; i < 100000; ++i) {
        state = state * 1103515245u + 12345u;
        const unsigned draw = (state >> 16) % 100;
        units.push_back(draw < 12 ? 0 : draw < 20 ? 1 : static_cast<int>(2 + draw % 38));
    }
    for (const Neighbourhood neighbourhood : {Neighbourhood::Side, Neighbourhood::Around}) {
        const Seating run = seatAll(units, 3334, neighbourhood);
        EXPECT_EQ(run.pairs, 0);
        EXPECT_LE(run.displacement, 30);
    }
}

TEST(ApartOrdering, FiveUnitsMixedKeepApartAroundWithinThirtyPlaces)
{
    // Around, each two by two block needs four units, and rooms of eight rows
    // by six leave a unit one seat in four at most: five units drawn at
    // random come close to that wherever one of them comes up often.
    std::mt19937 draw(6);
    std::vector<int> units;
    for (int i = 0; i < 3000; ++i)
        units.push_back(static_cast<int>(draw() % 5));
    for (const Neighbourhood neighbourhood : {Neighbourhood::Side, Neighbourhood::Around}) {
        const Seating run = seatAll(units, 63, neighbourhood, aisleRoom(8, 6));
        EXPECT_EQ(run.pairs, 0);
        EXPECT_LE(run.displacement, 30);
    }
}

TEST(ApartOrdering, ClassesNumberedInBlocksStillMix)
{
    std::vector<int> units;
    for (int i = 0; i < 1000; ++i)
        units.push_back(i / 50);
    EXPECT_EQ(seatAll(units, 34, Neighbourhood::Around).pairs, 0);
    EXPECT_EQ(seatAll(units, 34, Neighbourhood::Side).pairs, 0);
}

TEST(ApartOrdering, OneUnitOfMostExamineesBreaksTheRuleAsLittleAsItMust)
{
    // 63 of 90 from one unit, side rule: each of the 27 others can part at
    // most four pairs of the unit, so at least (edges - 4 * 27) pairs remain.
    std::vector<int> units;
    for (int i = 0; i < 90; ++i)
        units.push_back(i % 10 < 7 ? 0 : 1 + i % 3);
    const Seating run = seatAll(units, 3, Neighbourhood::Side);
    // Each room of 30: 5 columns of 6 (25 vertical) and 6 rows of 5 (24 across).
    const long edges = 3 * 49;
    EXPECT_GE(run.pairs, edges - 4 * 27);
    EXPECT_LE(run.pairs, edges - 4 * 27 + 12);
}

} // namespace
} // namespace sedilo::arrange
