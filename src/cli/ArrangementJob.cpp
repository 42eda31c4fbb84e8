#include "ArrangementJob.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <span>
#include <sstream>
#include <stdexcept>
#include <streambuf>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CliPrompt.h"
#include "CommandRegistry.h"
#include "Interruption.h"
#include "PathOption.h"
#include "arrange/GenerateArrangement.h"
#include "basedata/BaseDataImport.h"
#include "export/QueryExport.h"
#include "export/print/PrintSheets.h"
#include "rooms/RoomEditor.h"
#include "services/failure/FileErrorCause.h"
#include "services/ShippedFiles.h"
#include "services/cipher/NameCipher.h"
#include "services/failure/Failure.h"
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

// A database file that lives only as long as the run, in a folder only this
// user can enter: it holds every examinee's name and exam number.
class ScratchDatabase {
public:
    ScratchDatabase()
    {
        std::string pattern = (fs::temp_directory_path() / "sedilo-arrange-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw Failure({.kind = CauseKind::FolderNotWritable,
                           .file = fs::temp_directory_path().string(),
                           .detail = std::string("cannot create a temporary folder: ") + std::strerror(errno)});
        m_folder = pattern;
    }
    ~ScratchDatabase()
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;
    std::string file() const { return (m_folder / "data.mdb").string(); }

private:
    fs::path m_folder;
};

// A stored text as one field of a tab-separated line.
std::string field(std::string text)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

// One pair a line: ROOM, SEAT, CELL, OTHER SEAT, OTHER CELL, UNIT, tab-separated.
bool writeApartReport(const std::string& path, const std::vector<arrange::SameUnitPair>& pairs, std::ostream& err)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << "room\tseat\tcell\tother seat\tother cell\tunit\n";
    for (const arrange::SameUnitPair& pair : pairs) {
        file << field(pair.room) << '\t' << pair.seat << '\t' << pair.cell << '\t' << pair.otherSeat << '\t'
             << pair.otherCell << '\t' << field(pair.unit) << '\n';
    }
    file.close();
    if (!file) {
        err << "sedilo-cli arrange: cannot write the report " << path << "\n";
        return false;
    }
    return true;
}

// A progress bar that ends the run at its next step once a signal arrived.
void stopOnSignal(ProgressControl& bar)
{
    bar.setListener([](const ProgressState&) { stopIfInterrupted(); });
}

int reportFailure(std::ostream& err, const std::exception& failure)
{
    err << "sedilo-cli arrange: " << failureText(failure) << "\n";
    return kExitFailure;
}

int runSteps(const ArrangementJob& job, std::ostream& out, std::ostream& err)
{
    std::optional<ScratchDatabase> scratch;
    std::optional<store::SeatingDatabase> database;
    std::optional<store::DatabaseHold> hold;
    std::string folder = job.outputFolder;
    try {
        if (folder.empty())
            throw Failure({.kind = CauseKind::FolderMissing, .detail = "no output folder"});
        // Before the import replaces any base data.
        prepareOutputFolder(folder);
        if (job.databaseFile.empty())
            scratch.emplace();
        database.emplace(scratch ? scratch->file() : job.databaseFile, store::Threading::OneThreadAtATime,
                         scratch ? store::Durability::Scratch : store::Durability::Kept);
        // The whole run is one action: no other program imports or generates
        // between this run's import and its generation.
        hold.emplace(database->hold(store::LockMode::Exclusive));
        stopIfInterrupted();
    } catch (const std::exception& failure) {
        return reportFailure(err, failure);
    }
    DiscardingBuffer discarded;
    std::ostream quiet(&discarded);
    CliPrompt prompt(quiet, err);
    cipher::NameCipher cipher(prompt);
    cipher.setPassPhrase(cipher::kCipherPassPhrase);

    {
        // Gone after the import, the list it shows gives its memory to the generation.
        basedata::BaseDataTab baseData;
        stopOnSignal(baseData.Prbar);
        baseData.sjlj = job.examineeWorkbook;
        basedata::ImportSettings importSettings;
        importSettings.seed = job.seed;
        if (!basedata::ImportBaseData(baseData, *database, cipher, prompt, importSettings).succeeded)
            return kExitFailure;
    }

    rooms::RoomsTab roomsTab;
    const std::size_t added = rooms::AddRooms(roomsTab, job.rooms);
    for (const auto& [name, path] : std::span(job.rooms).subspan(added)) {
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

    if (folder.back() != '/')
        folder += '/';
    arrange::GenerateTab generateTab;
    stopOnSignal(generateTab.ksscpro);
    generateTab.ksoutpath = folder;
    if (interruptingSignal() != 0)
        return kExitFailure;
    // The scratch database goes with the run: unless the print sheets read
    // it, the seats need not go into it, and the export takes them from here.
    arrange::GenerationSettings settings;
    settings.writeBack = !scratch || job.printSheets.has_value();
    arrange::GenerationResult generated =
        arrange::GenerateArrangement(generateTab, roomsTab, *database, cipher, prompt, settings);
    using Outcome = arrange::GenerationResult::Outcome;
    if (generated.outcome != Outcome::Complete && generated.outcome != Outcome::RoomsUsedUp)
        return kExitFailure;
    out << generated.message << "\n";

    std::string exported;
    if (job.queryExport != QueryExport::None) {
        exporting::ExportTab exportTab;
        stopOnSignal(exportTab.cxdcscpro);
        exportTab.byUnit = job.queryExport == QueryExport::PerUnit;
        CliPrompt exportPrompt(quiet, err);
        if (interruptingSignal() != 0)
            return kExitFailure;
        const int written =
            generated.arrangedRows
                ? exporting::ExportQueryWorkbooks(exportTab, folder, std::move(*generated.arrangedRows), exportPrompt)
                : exporting::ExportQueryWorkbooks(exportTab, folder, *database, exportPrompt);
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
        const auto printed = exporting::WritePrintSheets(*job.printSheets, folder, roomOrder, *database, printPrompt);
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

} // namespace

int runArrangement(const ArrangementJob& job, std::ostream& out, std::ostream& err)
{
    InterruptionGuard interruption;
    const int code = runSteps(job, out, err);
    // Everything of the run is gone by now.
    interruption.endIfInterrupted();
    return code;
}

namespace {

// Far above any list of rooms; a larger file is not one.
constexpr off_t kRoomListLimit = 16 * 1024 * 1024;

// The whole room list, refusing at once what is not a file (a FIFO would
// block an open() without O_NONBLOCK).
std::string readRoomListText(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int cause = errno; // before the strings below can change it
        throw Failure(FileErrorCause(cause, path, FileAccess::Read, std::strerror(cause)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kRoomListLimit) {
        ::close(fd);
        throw Failure({.kind = CauseKind::NotARegularFile, .file = path, .detail = "the room list is not a file"});
    }
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    text.resize(filled);
    return text;
}

} // namespace

std::vector<std::pair<std::string, std::string>> readRoomList(const std::string& path)
{
    std::istringstream file(readRoomListText(path));
    const fs::path folder = fs::path(path).parent_path();
    std::vector<std::pair<std::string, std::string>> rooms;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        const std::string where = path + ":" + std::to_string(number) + ": ";
        // A NUL would end the room's name or template path early when passed on.
        if (line.find('\0') != std::string::npos)
            throw Failure({.kind = CauseKind::NulInRoomList, .file = path, .row = number,
                           .detail = "line " + std::to_string(number) + " holds a NUL byte"});
        if (line.empty())
            continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos)
            throw Failure({.kind = CauseKind::BadRoomListLine, .file = path, .row = number,
                           .detail = "expected NAME<TAB>TEMPLATE"});
        const std::string templateText = line.substr(tab + 1);
        // The room editor trims the template path, which would name another file.
        if (templateText.empty() || templateText.front() == ' ' || templateText.back() == ' ')
            throw Failure({.kind = CauseKind::BadRoomListLine, .file = path, .row = number,
                           .detail = "the template path is empty or begins or ends with a space"});
        fs::path templatePath(templateText);
        if (templatePath.is_relative())
            templatePath = folder / templatePath;
        rooms.emplace_back(line.substr(0, tab), templatePath.string());
    }
    if (rooms.empty())
        throw Failure({.kind = CauseKind::RoomListEmpty, .file = path, .detail = "the room list holds no room"});
    return rooms;
}

std::string shippedDataFile(const std::string& name)
{
    std::error_code error;
    const fs::path executable = fs::canonical("/proc/self/exe", error);
    if (!error) {
        // Built, the data files are copied beside the executable; installed,
        // they are in ../share/sedilo; otherwise look in data/ of a source
        // tree holding the build folder.
        const std::string shipped = shippedFile(executable.parent_path().string(), name);
        if (fs::exists(shipped))
            return shipped;
        for (fs::path folder = executable.parent_path(); folder.has_relative_path(); folder = folder.parent_path()) {
            if (fs::exists(folder / "data" / name))
                return (folder / "data" / name).string();
        }
    }
    throw Failure({.kind = CauseKind::FileMissing, .file = name,
                   .detail = "cannot find the shipped file beside " + executable.string()});
}

} // namespace sedilo::cli
