#pragma once

#include <vector>

#include "arrange/SeatSequence.h"
#include "rooms/SeatingRule.h"

namespace sedilo::arrange {

// Who sits where when one unit must stay off neighbouring seats.
struct ApartOrder {
    std::vector<long> examineeAt; // examineeAt[p]: the ordering index seated at position p
    long displacement = 0;        // the farthest anyone was moved from its ordering place
    long sameUnitPairs = 0;       // neighbour pairs still sharing a unit
};

// Seats examinees 0 .. seats.size() - 1 of the ordering (examinee i of unit
// units[i]) so that neighbours differ in unit while keeping each examinee as
// close to its ordering place as that allows. Deterministic: the same input
// gives the same order.
//
// Each pass is a greedy walk along the seats that moves nobody more than a
// window of places: at each seat it takes the earliest examinee whose unit no
// earlier neighbour holds, unless someone reaches the window's edge or a unit
// holds more of the remaining examinees than the neighbourhood leaves room
// for. Where no unit fits a seat, it steps back a few seats and tries their
// next choices. A window of 30 keeps a mixed list almost in order; lists whose
// units run in blocks need a wider one, so the window grows until the rule
// holds (or stops improving). Moves within the window then repair what is
// left (see repairApart).
ApartOrder orderApart(const SeatSequence& seats, const std::vector<int>& units, rooms::Neighbourhood neighbourhood);

} // namespace sedilo::arrange
