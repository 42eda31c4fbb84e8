// How far "同单位不相邻" moves examinees from their ordering: 100,000
// examinees on the shipped ksmb.xlsx (30 seats) and on rooms of 8 x 6 seats,
// with a few unit mixes. Prints the farthest move and the pairs left.
//
// usage: bench_apart [EXAMINEES]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "arrange/ApartOrdering.h"
#include "arrange/RoomTemplate.h"

using namespace sedilo;
using rooms::Neighbourhood;

namespace {

// Eight rows of six seats, filled down the columns in S order.
std::vector<arrange::SeatCell> eightBySix()
{
    std::vector<arrange::SeatCell> seats;
    for (int column = 1; column <= 6; ++column) {
        for (int step = 0; step < 8; ++step)
            seats.push_back({column % 2 ? 2 + step : 9 - step, column, "姓名"});
    }
    return seats;
}

std::vector<int> roundRobin(long size, int units)
{
    std::vector<int> list;
    for (long i = 0; i < size; ++i)
        list.push_back(static_cast<int>(i % units));
    return list;
}

std::vector<int> randomMix(long size, int units)
{
    std::vector<int> list = roundRobin(size, units);
    std::shuffle(list.begin(), list.end(), std::mt19937(20261208));
    return list;
}

// Each examinee's unit drawn on its own, as a list numbered across schools.
std::vector<int> drawn(long size, int units, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> unit(0, units - 1);
    std::vector<int> list;
    for (long i = 0; i < size; ++i)
        list.push_back(unit(random));
    return list;
}

void measure(const char* label, const std::vector<arrange::SeatCell>& cells, const std::vector<int>& units)
{
    for (const Neighbourhood neighbourhood : {Neighbourhood::Side, Neighbourhood::Around}) {
        const arrange::SeatNeighbours neighbours(cells, neighbourhood);
        std::vector<arrange::RoomStretch> stretches;
        const long perRoom = static_cast<long>(cells.size());
        for (long left = static_cast<long>(units.size()); left > 0; left -= perRoom)
            stretches.push_back({std::min(left, perRoom), &neighbours});
        const arrange::SeatSequence seats(stretches);
        const auto start = std::chrono::steady_clock::now();
        const arrange::ApartOrder order = arrange::orderApart(seats, units, neighbourhood);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-34s %-6s displacement %4ld  pairs %5ld  %.2f s\n", label,
                    neighbourhood == Neighbourhood::Side ? "side" : "around", order.displacement, order.sameUnitPairs,
                    wall);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const long size = argc > 1 ? std::atol(argv[1]) : 100000;
    const std::string shipped = std::string(SEDILO_SOURCE_DIR) + "/data/ksmb.xlsx";
    const arrange::RoomTemplate ksmb(shipped, rooms::FillDirection::Vertical);
    const auto& thirty = ksmb.seatPath().seats();
    const arrange::RoomTemplate across(shipped, rooms::FillDirection::Horizontal);
    measure("ksmb across, 40 units round robin", across.seatPath().seats(), roundRobin(size, 40));
    measure("ksmb across, 40 units random", across.seatPath().seats(), randomMix(size, 40));
    const auto grid = eightBySix();
    measure("ksmb, 40 units round robin", thirty, roundRobin(size, 40));
    measure("ksmb, 40 units random", thirty, randomMix(size, 40));
    measure("ksmb, 5 equal units random", thirty, randomMix(size, 5));
    measure("ksmb, 6 equal units random", thirty, randomMix(size, 6));
    measure("8x6, 60 units random", grid, randomMix(size, 60));
    measure("8x6, 5 equal units random", grid, randomMix(size, 5));
    for (const unsigned seed : {1u, 2u, 3u}) {
        measure("ksmb, 5 units drawn", thirty, drawn(size, 5, seed));
        measure("ksmb, 6 units drawn", thirty, drawn(size, 6, seed));
        measure("8x6, 60 units drawn", grid, drawn(size, 60, seed));
        measure("8x6, 6 units drawn", grid, drawn(size, 6, seed));
    }
    return 0;
}
