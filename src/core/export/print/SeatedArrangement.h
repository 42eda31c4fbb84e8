#pragma once

#include <string>
#include <vector>

#include "store/SeatingDatabase.h"

namespace sedilo::exporting {

// The arrangement as the working copy `jcdatatp` holds it, grouped the ways the
// print sheets list it. Every text is the stored value, unchanged.
struct SeatedArrangement {
    struct Examinee {
        std::string name;
        std::string number;
        std::string unit;
        std::string room; // empty (after trimming) when the examinee got no room
        std::string seat;
        std::size_t unitRank = 0; // where its unit stands in `units`
    };
    struct Room {
        std::string name;
        std::vector<const Examinee*> seats; // by seat number
    };
    struct Unit {
        std::string name;
        std::vector<const Examinee*> seated; // by exam number
        long unseated = 0;
    };

    SeatedArrangement() = default;
    // Rooms and units point into `examinees`: moving keeps them valid, copying would not.
    SeatedArrangement(SeatedArrangement&&) = default;
    SeatedArrangement& operator=(SeatedArrangement&&) = default;
    SeatedArrangement(const SeatedArrangement&) = delete;
    SeatedArrangement& operator=(const SeatedArrangement&) = delete;

    std::vector<Examinee> examinees; // every row, in table order
    std::vector<Room> rooms;         // the rooms of `roomOrder` first, in that order, then the others by name
    std::vector<Unit> units;         // by name as UnitOrder lists them

    long seatedCount() const;
};

// Reads every row of `jcdatatp` through the shared handles and closes them.
// `roomOrder` is the room list the arrangement was generated from (the grid
// order); rooms it does not name follow in natural order of their names.
SeatedArrangement readSeatedArrangement(store::SeatingDatabase& database, const std::vector<std::string>& roomOrder);

} // namespace sedilo::exporting
