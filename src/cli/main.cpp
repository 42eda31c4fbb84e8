#include <iostream>

#include "CommandRegistry.h"
#include "app/LocalTimeZone.h"
#include "app/MemoryReuse.h"
#include "services/failure/CauseCatalogue.h"
#include "services/failure/Failure.h"

namespace sedilo::cli {

std::map<std::string, Command>& commands()
{
    static std::map<std::string, Command> registry;
    return registry;
}

int usageError(const std::string& message)
{
    std::cerr << "sedilo-cli: " << message << "\n";
    return kExitUsage;
}

std::string failureText(const std::exception& failure)
{
    const Cause cause = CauseOf(failure);
    std::string text = ChineseCause(cause);
    if (const std::string detail = TechnicalSummary(cause); !detail.empty())
        text += "\n  detail: " + detail;
    return text;
}

} // namespace sedilo::cli

int main(int argc, char** argv)
{
    using namespace sedilo::cli;
    sedilo::session::pinLocalTimeZone();
    sedilo::session::keepFreedMemoryForReuse();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--version") {
        std::cout << "sedilo-cli " << SEDILO_VERSION << "\n";
        return kExitOk;
    }
    if (args.empty() || args[0] == "--help" || args[0] == "help") {
        std::ostream& out = args.empty() ? std::cerr : std::cout;
        // Laid out so that help2man makes the man page from it.
        out << "Usage: sedilo-cli COMMAND [ARGS]\n"
               "Runs the operations of the Sedilo window from a script.\n\nCommands:\n";
        for (const auto& [name, command] : commands())
            out << "  sedilo-cli " << command.usage << "\n\n";
        out << "Options:\n"
               "  --help     show this help and exit\n"
               "  --version  show the version and exit\n";
        return args.empty() ? kExitUsage : kExitOk;
    }
    const auto found = commands().find(args[0]);
    if (found == commands().end())
        return usageError("unknown command '" + args[0] + "' (see sedilo-cli --help)");
    try {
        return found->second.run({args.begin() + 1, args.end()});
    } catch (const std::exception& failure) {
        std::cerr << "sedilo-cli " << args[0] << ": " << failureText(failure) << "\n";
        return kExitFailure;
    }
}
