#pragma once

#include <string>

namespace sedilo::arrange {

// Two neighbouring seats of one room that hold the same unit.
struct SameUnitPair {
    std::string room;
    int seat = 0;      // seat numbers, as the room workbook shows them
    int otherSeat = 0;
    std::string cell;  // "B4"
    std::string otherCell;
    std::string unit;
};

} // namespace sedilo::arrange
