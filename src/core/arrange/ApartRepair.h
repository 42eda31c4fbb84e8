#pragma once

#include <vector>

#include "arrange/SeatSequence.h"

namespace sedilo::arrange {

// Who sits at each position of a seat sequence, and that examinee's unit.
struct ApartPlacement {
    std::vector<long> examineeAt; // the ordering index seated at each position
    std::vector<int> unitAt;
};

// Lowers the neighbour pairs sharing a unit by moving examinees between
// nearby seats, never taking anyone more than `window` places from its
// ordering place. Deterministic.
void repairApart(const SeatSequence& seats, ApartPlacement& placed, long window);

} // namespace sedilo::arrange
