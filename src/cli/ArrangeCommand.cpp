#include <algorithm>
#include <charconv>
#include <iostream>
#include <map>

#include "ArrangementJob.h"
#include "CommandRegistry.h"
#include "PathOption.h"
#include "PrintSheetList.h"

namespace sedilo::cli {

namespace {

const std::map<std::string, rooms::ExamineeOrdering> kOrderings{
    {"name", rooms::ExamineeOrdering::Name},
    {"number", rooms::ExamineeOrdering::Number},
    {"score-desc", rooms::ExamineeOrdering::ScoreDescending},
    {"score-asc", rooms::ExamineeOrdering::ScoreAscending},
    {"random", rooms::ExamineeOrdering::Random},
};
const std::map<std::string, rooms::FillDirection> kFills{
    {"vertical", rooms::FillDirection::Vertical},
    {"horizontal", rooms::FillDirection::Horizontal},
};
const std::map<std::string, rooms::Neighbourhood> kNeighbourhoods{
    {"side", rooms::Neighbourhood::Side},
    {"around", rooms::Neighbourhood::Around},
};
const std::map<std::string, QueryExport> kExports{
    {"none", QueryExport::None},
    {"unit", QueryExport::PerUnit},
    {"all", QueryExport::ForAll},
};

template <typename Value>
std::string choose(const std::map<std::string, Value>& choices, const std::string& option, const std::string& text,
                   Value& chosen)
{
    const auto found = choices.find(text);
    if (found != choices.end()) {
        chosen = found->second;
        return {};
    }
    std::string names;
    for (const auto& [name, value] : choices)
        names += (names.empty() ? "" : "|") + name;
    return option + " takes " + names + ", not '" + text + "'";
}

// Returns a usage problem, or "" when the arguments were understood.
std::string parse(const std::vector<std::string>& args, ArrangementJob& job, std::string& roomList)
{
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        static const char* const kKnown[] = {"--examinees", "--rooms",  "--out",   "--db",
                                             "--order",     "--fill",   "--seed",  "--export",
                                             "--apart",     "--apart-report", "--print"};
        if (std::find(std::begin(kKnown), std::end(kKnown), name) == std::end(kKnown))
            return "unknown option '" + name + "'";
        if (i + 1 >= args.size())
            return name + " needs a value";
        if (values.count(name))
            return name + " given twice";
        values[name] = args[i + 1];
    }
    for (const char* required : {"--examinees", "--rooms", "--out"}) {
        if (values[required].empty())
            return std::string(required) + " is required";
    }
    std::string problem = absolutePathOption("--examinees", values["--examinees"], job.examineeWorkbook);
    if (problem.empty())
        problem = absolutePathOption("--rooms", values["--rooms"], roomList);
    if (problem.empty())
        problem = absolutePathOption("--out", values["--out"], job.outputFolder);
    if (problem.empty() && values.count("--db"))
        problem = absolutePathOption("--db", values["--db"], job.databaseFile);
    if (!problem.empty())
        return problem;
    if (values.count("--order"))
        problem = choose(kOrderings, "--order", values["--order"], job.ordering);
    if (problem.empty() && values.count("--fill"))
        problem = choose(kFills, "--fill", values["--fill"], job.fill);
    if (problem.empty() && values.count("--export"))
        problem = choose(kExports, "--export", values["--export"], job.queryExport);
    if (problem.empty() && values.count("--print")) {
        exporting::PrintSheetChoice choice;
        problem = parsePrintSheetList(values["--print"], choice);
        if (!problem.empty())
            return "--print " + problem;
        job.printSheets = choice;
    }
    if (problem.empty() && values.count("--apart")) {
        rooms::Neighbourhood neighbourhood{};
        problem = choose(kNeighbourhoods, "--apart", values["--apart"], neighbourhood);
        job.apart = neighbourhood;
    }
    if (values.count("--apart-report")) {
        if (!values.count("--apart"))
            return "--apart-report needs --apart";
        problem = absolutePathOption("--apart-report", values["--apart-report"], job.apartReport);
        if (!problem.empty())
            return problem;
    }
    if (problem.empty() && values.count("--seed")) {
        const std::string& text = values["--seed"];
        std::uint64_t seed = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
        if (error != std::errc() || end != text.data() + text.size())
            return "--seed needs a whole number, not '" + text + "'";
        job.seed = seed;
    }
    return problem;
}

int runArrange(const std::vector<std::string>& args)
{
    ArrangementJob job;
    std::string roomList;
    if (const std::string problem = parse(args, job, roomList); !problem.empty())
        return usageError("arrange: " + problem);
    try {
        job.rooms = readRoomList(roomList);
    } catch (const std::exception& failure) {
        std::cerr << "sedilo-cli arrange: " << failureText(failure) << "\n";
        return kExitFailure;
    }
    return runArrangement(job, std::cout, std::cerr);
}

const CommandRegistrar registrar(
    "arrange", {"arrange --examinees WORKBOOK --rooms ROOMS.tsv --out DIR [--db FILE] "
                "[--order name|number|score-desc|score-asc|random] [--fill vertical|horizontal] [--seed N] "
                "[--export unit|all|none] [--apart side|around [--apart-report FILE]] [--print signin,door,lookup]",
                runArrange});

} // namespace

} // namespace sedilo::cli
