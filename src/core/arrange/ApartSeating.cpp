#include "arrange/ApartSeating.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>

#include "arrange/ApartOrdering.h"
#include "services/Messages.h"

namespace sedilo::arrange {

ApartSeating seatApart(const std::vector<RoomJob>& jobs, const std::vector<ExamineeValues>& examinees,
                       rooms::Neighbourhood neighbourhood)
{
    std::map<const RoomTemplate*, std::unique_ptr<SeatNeighbours>> byTemplate;
    std::vector<RoomStretch> stretches;
    for (const RoomJob& job : jobs) {
        auto& neighbours = byTemplate[job.roomTemplate];
        if (!neighbours)
            neighbours = std::make_unique<SeatNeighbours>(job.roomTemplate->seatPath().seats(), neighbourhood);
        stretches.push_back({job.count, neighbours.get()});
    }
    const SeatSequence seats(stretches);

    std::unordered_map<std::string, int> unitIds;
    std::vector<int> units;
    units.reserve(static_cast<std::size_t>(seats.size()));
    for (long i = 0; i < seats.size(); ++i)
        units.push_back(unitIds.emplace(examinees[i].unit, static_cast<int>(unitIds.size())).first->second);

    ApartSeating seating;
    seating.examineeAt = orderApart(seats, units, neighbourhood).examineeAt;
    std::vector<int> seatedUnits(units.size());
    for (std::size_t p = 0; p < units.size(); ++p)
        seatedUnits[p] = units[seating.examineeAt[p]];

    std::vector<std::size_t> jobAt;
    for (std::size_t job = 0; job < jobs.size(); ++job)
        jobAt.insert(jobAt.end(), static_cast<std::size_t>(jobs[job].count), job);
    for (const auto& [position, other] : sameUnitPairs(seats, seatedUnits)) {
        const RoomJob& job = jobs[jobAt[position]];
        const auto& cells = job.roomTemplate->seatPath().seats();
        const SeatCell& cell = cells[position - job.first];
        const SeatCell& otherCell = cells[other - job.first];
        seating.pairs.push_back({job.room, static_cast<int>(position - job.first + 1),
                                 static_cast<int>(other - job.first + 1), cellName(cell.row, cell.column),
                                 cellName(otherCell.row, otherCell.column),
                                 std::string(examinees[seating.examineeAt[position]].unit)});
    }
    return seating;
}

std::string sameUnitList(const std::vector<SameUnitPair>& pairs, std::size_t limit)
{
    std::string list;
    const std::size_t listed = std::min(pairs.size(), limit);
    for (std::size_t i = 0; i < listed; ++i) {
        const SameUnitPair& pair = pairs[i];
        list += pair.room + "  " + std::to_string(pair.seat) + "号(" + pair.cell + ") - "
                + std::to_string(pair.otherSeat) + "号(" + pair.otherCell + ")  " + pair.unit + "\n";
    }
    if (listed < pairs.size())
        list += messages::sameUnitNotListed(pairs.size() - listed) + "\n";
    return list;
}

} // namespace sedilo::arrange
