#include "ArrangementJob.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <streambuf>

#include "CliPrompt.h"
#include "CommandRegistry.h"
#include "arrange/GenerateArrangement.h"
#include "basedata/BaseDataImport.h"
#include "export/QueryExport.h"
#include "export/print/PrintSheets.h"
#include "rooms/RoomEditor.h"
#include "services/failure/FileErrorCause.h"
#include "services/cipher/NameCipher.h"
#include "store/SeatingDatabase.h"

namespace sedilo::cli {

namespace fs = std::filesystem;

namespace {

// The box of pxfschek1..5 that stands for an ordering.
int orderingBox(rooms::ExamineeOrdering ordering)
{
    switch (ordering) {
    case rooms::ExamineeOrdering::Name:
        return 0;
    case rooms::ExamineeOrdering::Number:
        return 1;
    case rooms::ExamineeOrdering::ScoreDescending:
        return 2;
    case rooms::ExamineeOrdering::ScoreAscending:
        return 3;
    case rooms::ExamineeOrdering::Random:
        return 4;
    }
    return 2;
}

// Information boxes are the window's way of saying "wait" or "done"; here the
// summary says it, so they are not printed.
class DiscardingBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

// A database file that lives only as long as the run.
class ScratchDatabase {
public:
    ScratchDatabase()
    {
        std::random_device device;
        m_folder = fs::temp_directory_path() / ("sedilo-arrange-" + std::to_string(device()) + std::to_string(device()));
        fs::create_directories(m_folder);
    }
    ~ScratchDatabase()
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    std::string file() const { return (m_folder / "data.mdb").string(); }

private:
    fs::path m_folder;
};

// One pair a line: ROOM, SEAT, CELL, OTHER SEAT, OTHER CELL, UNIT, tab-separated.
bool writeApartReport(const std::string& path, const std::vector<arrange::SameUnitPair>& pairs, std::ostream& err)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << "room\tseat\tcell\tother seat\tother cell\tunit\n";
    for (const arrange::SameUnitPair& pair : pairs) {
        file << pair.room << '\t' << pair.seat << '\t' << pair.cell << '\t' << pair.otherSeat << '\t'
             << pair.otherCell << '\t' << pair.unit << '\n';
    }
    file.close();
    if (!file) {
        err << "sedilo-cli arrange: cannot write the report " << path << "\n";
        return false;
    }
    return true;
}

} // namespace

int runArrangement(const ArrangementJob& job, std::ostream& out, std::ostream& err)
{
    std::optional<ScratchDatabase> scratch;
    if (job.databaseFile.empty())
        scratch.emplace();
    store::SeatingDatabase database(scratch ? scratch->file() : job.databaseFile);
    DiscardingBuffer discarded;
    std::ostream quiet(&discarded);
    CliPrompt prompt(quiet, err);
    cipher::NameCipher cipher(prompt);
    cipher.setPassPhrase(cipher::kCipherPassPhrase);

    basedata::BaseDataTab baseData;
    baseData.sjlj = job.examineeWorkbook;
    basedata::ImportSettings importSettings;
    importSettings.seed = job.seed;
    if (!basedata::ImportBaseData(baseData, database, cipher, prompt, importSettings).succeeded)
        return kExitFailure;

    rooms::RoomsTab roomsTab;
    for (const auto& [name, path] : job.rooms) {
        roomsTab.ksname = name;
        roomsTab.ksmbpath = path;
        rooms::AddRoom(roomsTab, prompt);
        if (prompt.errorShown())
            return kExitFailure;
    }
    rooms::ArrangementOptions& options = roomsTab.options;
    if (options.ordering() != job.ordering)
        options.clickOrderingBox(orderingBox(job.ordering));
    if (job.fill == rooms::FillDirection::Horizontal)
        options.clickFillBox(0);
    if (job.apart)
        roomsTab.seatingRule = {true, *job.apart};

    std::string folder = job.outputFolder;
    fs::create_directories(folder);
    if (folder.back() != '/')
        folder += '/';
    arrange::GenerateTab generateTab;
    generateTab.ksoutpath = folder;
    const arrange::GenerationResult generated =
        arrange::GenerateArrangement(generateTab, roomsTab, database, cipher, prompt);
    using Outcome = arrange::GenerationResult::Outcome;
    if (generated.outcome != Outcome::Complete && generated.outcome != Outcome::RoomsUsedUp)
        return kExitFailure;
    out << generated.message << "\n";

    std::string exported;
    if (job.queryExport != QueryExport::None) {
        exporting::ExportTab exportTab;
        exportTab.byUnit = job.queryExport == QueryExport::PerUnit;
        CliPrompt exportPrompt(quiet, err);
        const int written = exporting::ExportQueryWorkbooks(exportTab, folder, database, exportPrompt);
        if (exportPrompt.errorShown())
            return kExitFailure;
        out << exportTab.cxdcscpro.state().status << "\n";
        exported = ", " + std::to_string(written) + " query workbooks";
    }
    if (job.printSheets) {
        std::vector<std::string> roomOrder;
        for (const auto& room : job.rooms)
            roomOrder.push_back(room.first);
        CliPrompt printPrompt(quiet, err);
        const auto printed = exporting::WritePrintSheets(*job.printSheets, folder, roomOrder, database, printPrompt);
        if (!printed.succeeded)
            return kExitFailure;
        exported += ", " + std::to_string(printed.written.size()) + " print sheets";
    }
    out << "seated " << generated.seated << " of " << generated.examinees << " examinees in "
        << generated.roomsWithExaminees << " rooms; wrote " << generated.workbooksWritten << " room workbooks"
        << exported << "\n";
    if (generated.sameUnitPairs) {
        out << "same-unit neighbours: " << generated.sameUnitPairs->size() << "\n";
        if (!job.apartReport.empty() && !writeApartReport(job.apartReport, *generated.sameUnitPairs, err))
            return kExitFailure;
    }
    return generated.outcome == Outcome::Complete ? kExitOk : kExitUnseated;
}

std::vector<std::pair<std::string, std::string>> readRoomList(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw Failure(FileErrorCause(errno, path, FileAccess::Read, "the room list cannot be read"));
    const fs::path folder = fs::path(path).parent_path();
    std::vector<std::pair<std::string, std::string>> rooms;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (line.empty())
            continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos)
            throw Failure({.kind = CauseKind::BadRoomListLine, .file = path, .row = number,
                           .detail = "expected NAME<TAB>TEMPLATE"});
        fs::path templatePath(line.substr(tab + 1));
        if (templatePath.is_relative())
            templatePath = folder / templatePath;
        rooms.emplace_back(line.substr(0, tab), templatePath.string());
    }
    return rooms;
}

std::string shippedDataFile(const std::string& name)
{
    std::error_code error;
    const fs::path executable = fs::canonical("/proc/self/exe", error);
    if (!error) {
        // Installed or built, the data files are copied beside the executable;
        // otherwise look in data/ of a source tree holding the build folder.
        if (fs::exists(executable.parent_path() / name))
            return (executable.parent_path() / name).string();
        for (fs::path folder = executable.parent_path(); folder.has_relative_path(); folder = folder.parent_path()) {
            if (fs::exists(folder / "data" / name))
                return (folder / "data" / name).string();
        }
    }
    throw Failure({.kind = CauseKind::FileMissing, .file = name,
                   .detail = "cannot find the shipped file beside " + executable.string()});
}

} // namespace sedilo::cli
