#pragma once

#include <string>
#include <vector>

#include "arrange/RoomProduction.h"
#include "arrange/RoomSchedule.h"
#include "arrange/SameUnitPair.h"
#include "rooms/SeatingRule.h"

namespace sedilo::arrange {

// The seating of a run under "同单位不相邻".
struct ApartSeating {
    std::vector<long> examineeAt; // per seat of the schedule in fill order: its examinee's ordering index
    std::vector<SameUnitPair> pairs;
};

// Reorders who takes the scheduled seats so that a unit keeps off its
// neighbouring seats; the rooms, their seat counts and the S path stay.
ApartSeating seatApart(const std::vector<RoomJob>& jobs, const std::vector<ExamineeValues>& examinees,
                       rooms::Neighbourhood neighbourhood);

// The pairs one a line, for the closing box's details: room, the two seats
// (number and cell), unit. Beyond `limit` pairs a last line says how many
// more there are, so a hopeless list still opens in a box at once.
std::string sameUnitList(const std::vector<SameUnitPair>& pairs, std::size_t limit);

} // namespace sedilo::arrange
