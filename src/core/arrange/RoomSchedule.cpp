#include "arrange/RoomSchedule.h"

#include <algorithm>
#include <map>
#include <set>

#include "arrange/ArrangeError.h"
#include "arrange/TemplateGuard.h"
#include "rooms/TemplateFile.h"
#include "services/failure/Failure.h"
#include "services/text/FileNameRule.h"

namespace sedilo::arrange {

namespace {

// Two rooms of one name would share one workbook file, the second replacing
// the first, and one room name in the database with two runs of seats.
void refuseDuplicateRooms(const rooms::RoomGrid& grid, int rooms)
{
    std::set<std::string> seen;
    for (int row = 1; row <= rooms; ++row) {
        const std::string room = grid.TextMatrix(row, 0);
        if (!seen.insert(room).second)
            throw Failure({.kind = CauseKind::DuplicateRoom,
                           .room = room,
                           .detail = "two rows of the room list name the room \"" + room + "\""});
    }
}

} // namespace

RoomSchedule scheduleRooms(const rooms::RoomGrid& grid, const std::string& folderText, TemplateCache& cache,
                           long examinees)
{
    RoomSchedule schedule;
    const int rooms = grid.Rows() - 1;
    try {
        refuseDuplicateRooms(grid, rooms);
    } catch (...) {
        schedule.stop.kind = RoomStop::Kind::Failure;
        schedule.stop.failure = std::current_exception();
        return schedule;
    }
    std::vector<std::string> templates;
    for (int row = 1; row <= rooms; ++row)
        templates.push_back(grid.TextMatrix(row, 1));
    const TemplateGuard guard(templates);
    // A city's room list names a few templates thousands of times.
    std::map<std::string, bool> templateThere;

    long next = 0;
    for (int row = 1; row <= rooms && next < examinees; ++row) {
        const std::string room = grid.TextMatrix(row, 0);
        const std::string& path = templates[row - 1];
        const auto [known, added] = templateThere.try_emplace(path, false);
        if (added)
            known->second = rooms::templateFileExists(path);
        if (!known->second) {
            schedule.stop.kind = RoomStop::Kind::TemplateMissing;
            schedule.stop.templatePath = path;
            return schedule;
        }
        long seats = 0;
        try {
            if (const std::string reason = unsafeFileNameReason(room); !reason.empty())
                throw ArrangeError({.kind = CauseKind::NotAFileName, .name = room, .room = room, .detail = reason});
            const RoomTemplate& roomTemplate = cache.get(path);
            const std::string target = folderText + room;
            guard.check(room, target + roomTemplate.extension());
            const SeatPath& seatPath = roomTemplate.seatPath();
            seats = static_cast<long>(seatPath.seats().size());
            if (seatPath.unreadable() && next + seats < examinees) {
                // Examinees are left when the path reaches the unreadable cell.
                schedule.stop.assigned = seats;
                throw *seatPath.unreadable();
            }
            schedule.jobs.push_back({room, &roomTemplate, next, std::min(seats, examinees - next), target});
        } catch (...) {
            schedule.stop.kind = RoomStop::Kind::Failure;
            schedule.stop.failure = std::current_exception();
            schedule.stop.room = room;
            schedule.stop.first = next;
            return schedule;
        }
        next += schedule.jobs.back().count;
    }
    return schedule;
}

} // namespace sedilo::arrange
