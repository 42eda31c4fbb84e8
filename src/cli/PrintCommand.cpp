#include <filesystem>
#include <iostream>
#include <map>

#include "ArrangementJob.h"
#include "CliPrompt.h"
#include "CommandRegistry.h"
#include "PathOption.h"
#include "PrintSheetList.h"
#include "export/print/PrintSheets.h"

namespace sedilo::cli {

namespace {

int runPrint(const std::vector<std::string>& args)
{
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (name != "--db" && name != "--out" && name != "--sheets" && name != "--rooms")
            return usageError("print: unknown option '" + name + "'");
        if (i + 1 >= args.size())
            return usageError("print: " + name + " needs a value");
        if (options.count(name))
            return usageError("print: " + name + " given twice");
        options[name] = args[i + 1];
    }
    for (const char* required : {"--db", "--out"})
        if (!options.count(required) || options[required].empty())
            return usageError(std::string("print: ") + required + " is required");
    exporting::PrintSheetChoice choice;
    if (options.count("--sheets")) {
        if (const std::string problem = parsePrintSheetList(options["--sheets"], choice); !problem.empty())
            return usageError("print: --sheets " + problem);
    }

    std::string databaseFile;
    std::string folder;
    std::string roomList;
    for (const auto& [option, path] :
         {std::pair{"--db", &databaseFile}, std::pair{"--out", &folder}, std::pair{"--rooms", &roomList}}) {
        if (!options.count(option))
            continue;
        if (const std::string problem = absolutePathOption(option, options[option], *path); !problem.empty())
            return usageError("print: " + problem);
    }
    if (!std::filesystem::is_regular_file(databaseFile)) {
        std::cerr << "sedilo-cli print: no database file " << databaseFile << "\n";
        return kExitFailure;
    }
    std::vector<std::string> roomOrder;
    try {
        if (!roomList.empty())
            for (const auto& [name, templatePath] : readRoomList(roomList))
                roomOrder.push_back(name);
        prepareOutputFolder(folder);
    } catch (const std::exception& failure) {
        std::cerr << "sedilo-cli print: " << failureText(failure) << "\n";
        return kExitFailure;
    }
    if (folder.back() != '/')
        folder += '/';

    store::SeatingDatabase database(databaseFile, store::Threading::OneThreadAtATime);
    CliPrompt prompt(std::cout, std::cerr);
    const exporting::PrintSheetsResult result =
        exporting::WritePrintSheets(choice, folder, roomOrder, database, prompt);
    for (const std::string& written : result.written)
        std::cout << "wrote " << written << "\n";
    return result.succeeded ? kExitOk : kExitFailure;
}

const CommandRegistrar registrar(
    "print", {"print --db FILE --out DIR [--sheets signin,door,lookup] [--rooms ROOMS.tsv]   "
              "# print-ready sheets of the last generation (rooms in the order of ROOMS.tsv, else by name)",
              runPrint});

} // namespace

} // namespace sedilo::cli
