#include <charconv>
#include <iostream>

#include "CliPrompt.h"
#include "CommandRegistry.h"
#include "PathOption.h"
#include "basedata/BaseDataImport.h"
#include "services/cipher/NameCipher.h"
#include "store/SeatingDatabase.h"

namespace sedilo::cli {

namespace {

struct ImportArguments {
    std::string database;
    std::string workbook;
    basedata::ImportSettings settings;
};

// Returns an error message, or "" when the arguments were understood.
std::string parse(const std::vector<std::string>& args, ImportArguments& parsed)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--db" || arg == "--seed") {
            if (i + 1 >= args.size())
                return arg + " needs a value";
            const std::string& value = args[++i];
            if (arg == "--db") {
                if (std::string problem = absolutePathOption(arg, value, parsed.database); !problem.empty())
                    return problem;
                continue;
            }
            std::uint64_t seed = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
            if (error != std::errc() || end != value.data() + value.size())
                return "--seed needs a whole number, not '" + value + "'";
            parsed.settings.seed = seed;
        } else if (arg.rfind("--", 0) == 0) {
            return "unknown option '" + arg + "'";
        } else if (parsed.workbook.empty()) {
            if (std::string problem = absolutePathOption("WORKBOOK", arg, parsed.workbook); !problem.empty())
                return problem;
        } else {
            return "one workbook only";
        }
    }
    if (parsed.database.empty())
        return "--db FILE is required";
    if (parsed.workbook.empty())
        return "WORKBOOK is required";
    return {};
}

int runImport(const std::vector<std::string>& args)
{
    ImportArguments parsed;
    if (const std::string problem = parse(args, parsed); !problem.empty())
        return usageError("import: " + problem);

    CliPrompt prompt(std::cerr, std::cerr);
    store::SeatingDatabase database(parsed.database, store::Threading::OneThreadAtATime);
    cipher::NameCipher cipher(prompt);
    cipher.setPassPhrase(cipher::kCipherPassPhrase);
    basedata::BaseDataTab tab;
    tab.sjlj = parsed.workbook;

    const basedata::ImportOutcome outcome = basedata::ImportBaseData(tab, database, cipher, prompt, parsed.settings);
    database.closeAll();
    if (!outcome.succeeded)
        return kExitFailure;
    std::cout << "imported " << outcome.imported << " examinees\n";
    return kExitOk;
}

const CommandRegistrar registrar("import", {"import --db FILE WORKBOOK [--seed N]", runImport});

} // namespace

} // namespace sedilo::cli
