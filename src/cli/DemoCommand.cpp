#include <algorithm>
#include <filesystem>
#include <iostream>

#include "ArrangementJob.h"
#include "CommandRegistry.h"
#include "PathOption.h"

namespace sedilo::cli {

namespace {

namespace fs = std::filesystem;

// The shipped demo examinees arranged into three rooms of the sample
// template and exported per unit, to show what the program produces.
int runDemo(const std::vector<std::string>& args)
{
    if (args.size() > 1)
        return usageError("demo: one folder at most");
    std::string folderText;
    if (const std::string problem = absolutePathOption("DIR", args.empty() ? "sedilo-demo" : args[0], folderText);
        !problem.empty())
        return usageError("demo: " + problem);
    const fs::path folder(folderText);

    ArrangementJob job;
    job.examineeWorkbook = shippedDataFile("demo-examinees.xlsx");
    const std::string roomTemplate = shippedDataFile("ksmb.xlsx");
    for (int room = 1; room <= 3; ++room)
        job.rooms.emplace_back("第" + std::to_string(room) + "考室", roomTemplate);
    job.outputFolder = folder.string();
    job.databaseFile = (folder / "data.mdb").string();
    job.seed = 1;
    job.queryExport = QueryExport::PerUnit;
    fs::create_directories(folder);

    const int code = runArrangement(job, std::cout, std::cerr);
    if (code == kExitFailure)
        return code;
    std::cout << "The demo's files are in " << folder.string() << "/:\n";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        std::cout << "  " << name << "\n";
    return code;
}

const CommandRegistrar registrar("demo", {"demo [DIR]    (default ./sedilo-demo)", runDemo});

} // namespace

} // namespace sedilo::cli
