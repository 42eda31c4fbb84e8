#include <filesystem>
#include <iostream>
#include <map>

#include "CliPrompt.h"
#include "CommandRegistry.h"
#include "PathOption.h"
#include "export/QueryExport.h"

namespace sedilo::cli {

namespace {

int runExport(const std::vector<std::string>& args)
{
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (name != "--db" && name != "--out" && name != "--by")
            return usageError("export: unknown option '" + name + "'");
        if (i + 1 >= args.size())
            return usageError("export: " + name + " needs a value");
        if (options.count(name))
            return usageError("export: " + name + " given twice");
        options[name] = args[i + 1];
    }
    for (const char* required : {"--db", "--out", "--by"})
        if (!options.count(required))
            return usageError(std::string("export: ") + required + " is required");
    const std::string& by = options["--by"];
    if (by != "unit" && by != "all")
        return usageError("export: --by takes unit or all, not '" + by + "'");

    std::string databaseFile;
    std::string folder;
    for (const auto& [option, path] : {std::pair{"--db", &databaseFile}, std::pair{"--out", &folder}}) {
        if (const std::string problem = absolutePathOption(option, options[option], *path); !problem.empty())
            return usageError("export: " + problem);
    }
    // Opening would create an empty database; a wrong path is a mistake to report.
    if (!std::filesystem::is_regular_file(databaseFile)) {
        std::cerr << "sedilo-cli export: no database file " << databaseFile << "\n";
        return kExitFailure;
    }
    try {
        prepareOutputFolder(folder);
    } catch (const std::exception& failure) {
        std::cerr << "sedilo-cli export: " << failureText(failure) << "\n";
        return kExitFailure;
    }
    if (folder.back() != '/')
        folder += '/';

    store::SeatingDatabase database(databaseFile, store::Threading::OneThreadAtATime);
    exporting::ExportTab tab;
    tab.byUnit = by == "unit";
    CliPrompt prompt(std::cout, std::cerr);
    const int written = exporting::ExportQueryWorkbooks(tab, folder, database, prompt);
    if (prompt.errorShown()) {
        if (written > 0)
            std::cerr << "kept " << written << " query workbooks written before the failure in " << folder << "\n";
        return kExitFailure;
    }
    std::cout << "wrote " << written << " query workbooks into " << folder << "\n";
    return kExitOk;
}

const CommandRegistrar registrar("export", {"export --db FILE --out DIR --by unit|all", runExport});

} // namespace

} // namespace sedilo::cli
