#include <iostream>

#include "CommandRegistry.h"
#include "PathOption.h"
#include "arrange/RoomTemplate.h"

namespace sedilo::cli {

namespace {

// Lets a school check a room template before exam day: its seat count and
// the seat cells in the order they are filled.
int runSeats(const std::vector<std::string>& args)
{
    std::string templatePath;
    rooms::FillDirection direction = rooms::FillDirection::Vertical;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--fill") {
            if (i + 1 >= args.size())
                return usageError("seats: --fill needs a value");
            const std::string& fill = args[++i];
            if (fill != "vertical" && fill != "horizontal")
                return usageError("seats: --fill takes vertical|horizontal, not '" + fill + "'");
            direction = fill == "horizontal" ? rooms::FillDirection::Horizontal : rooms::FillDirection::Vertical;
        } else if (args[i].rfind("--", 0) == 0) {
            return usageError("seats: unknown option '" + args[i] + "'");
        } else if (templatePath.empty()) {
            if (const std::string problem = absolutePathOption("TEMPLATE", args[i], templatePath); !problem.empty())
                return usageError("seats: " + problem);
        } else {
            return usageError("seats: one template only");
        }
    }
    if (templatePath.empty())
        return usageError("seats: TEMPLATE is required");

    const arrange::RoomTemplate roomTemplate(templatePath, direction);
    const arrange::SeatPath& path = roomTemplate.seatPath();
    std::cout << path.seats().size() << " seats\n";
    int seat = 0;
    for (const arrange::SeatCell& cell : path.seats())
        std::cout << ++seat << " " << arrange::cellName(cell.row, cell.column) << "\n";
    if (path.unreadable()) {
        std::cerr << "sedilo-cli seats: the fill stops after seat " << seat << ": " << path.unreadable()->what()
                  << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistrar registrar("seats", {"seats TEMPLATE [--fill vertical|horizontal]", runSeats});

} // namespace

} // namespace sedilo::cli
