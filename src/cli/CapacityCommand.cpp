#include <iostream>
#include <map>

#include "ArrangementJob.h"
#include "CommandRegistry.h"
#include "arrange/Capacity.h"
#include "basedata/CountExaminees.h"
#include "services/failure/CauseCatalogue.h"
#include "services/failure/Failure.h"

namespace sedilo::cli {

namespace {

// Before exam day: do the room list's templates hold enough seats?
int runCapacity(const std::vector<std::string>& args)
{
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (name != "--rooms" && name != "--examinees")
            return usageError("capacity: unknown option '" + name + "'");
        if (i + 1 >= args.size() || args[i + 1].empty())
            return usageError("capacity: " + name + " needs a value");
        if (!options.emplace(name, args[i + 1]).second)
            return usageError("capacity: " + name + " given twice");
    }
    if (!options.count("--rooms"))
        return usageError("capacity: --rooms is required");

    arrange::Capacity capacity;
    try {
        std::optional<long> examinees;
        if (options.count("--examinees"))
            examinees = basedata::CountExaminees(options["--examinees"]);
        arrange::SeatCounts counts;
        capacity = arrange::measureCapacity(readRoomList(options["--rooms"]), counts, examinees);
    } catch (...) {
        const Cause cause = CauseOf(std::current_exception());
        std::cerr << "sedilo-cli capacity: " << ChineseCause(cause) << "\n" << TechnicalSummary(cause) << "\n";
        return kExitFailure;
    }

    for (const arrange::Capacity::Room& room : capacity.rooms)
        std::cout << room.name << "\t" << (room.seats ? std::to_string(*room.seats) : std::string("unknown")) << "\n";
    std::cout << capacity.rooms.size() << " rooms, " << capacity.seats << " seats";
    if (capacity.unknownRooms > 0)
        std::cout << " or more (" << capacity.unknownRooms << " rooms of unknown seats)";
    if (capacity.examinees) {
        const long examinees = *capacity.examinees;
        std::cout << ", " << examinees << " examinees, ";
        if (capacity.seatsShort())
            std::cout << examinees - capacity.seats << " seats short";
        else
            std::cout << capacity.seats - examinees << " seats spare";
    }
    std::cout << "\n";
    return capacity.seatsShort() ? kExitUnseated : kExitOk;
}

const CommandRegistrar registrar(
    "capacity", {"capacity --rooms ROOMS.tsv [--examinees WORKBOOK]   "
                 "# seats of each room's template (NAME<TAB>SEATS), then the total against the examinees",
                 runCapacity});

} // namespace

} // namespace sedilo::cli
