// A city-wide generation: 100,000 examinees in 3,334 rooms of the shipped
// ksmb.xlsx, run through the same core operations as the window. Prints the
// seconds of each phase, the peak memory, and the time merely to copy the
// template once per room, which is the floor any generation has to pay.
//
// usage: bench_generation [EXAMINEES [ROOMS [FOLDER]]]

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "arrange/GenerateArrangement.h"
#include "export/QueryExport.h"
#include "services/cipher/NameCipher.h"
#include "store/RebuildWorkingCopy.h"
#include "store/Statements.h"

namespace {

using namespace sedilo;
namespace fs = std::filesystem;

// Boxes cannot be answered here: errors are printed, everything else is quiet.
class BenchPrompt : public Prompt {
public:
    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail) override
    {
        if (style == PromptStyle::Error)
            std::fprintf(stderr, "error box: %s %s\n", text.c_str(), detail.c_str());
        last = text;
        return PromptAnswer::No;
    }
    void showPlain(const std::string& text, bool) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    std::string last;
};

double cpuSeconds()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall-clock seconds of a phase; its processor seconds (all threads) go to `cpu`.
double seconds(const std::function<void()>& work, double* cpu = nullptr)
{
    const double cpuStart = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (cpu)
        *cpu = cpuSeconds() - cpuStart;
    return wall;
}

std::string shippedTemplate(const char* argv0)
{
    std::error_code error;
    const fs::path beside = fs::canonical("/proc/self/exe", error).parent_path() / "ksmb.xlsx";
    if (!error && fs::exists(beside))
        return beside.string();
    return (fs::path(argv0).parent_path() / "ksmb.xlsx").string();
}

void storeExaminees(store::SeatingDatabase& database, cipher::NameCipher& names, long count)
{
    static const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周"};
    static const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "磊", "强", "洋", "艳", "杰", "涛", "明"};
    std::mt19937 random(20260607);
    database.replaceSharedRecordset();
    database.OpenDataConnection();
    store::Recordset& rows = database.SharedRecordset();
    rows.open(store::sql::kSelectBaseData, database.SharedConnection());
    for (long i = 0; i < count; ++i) {
        rows.addNew();
        rows.setValue("姓名", names.EncryptName(std::string(kSurnames[random() % 10]) + kGiven[random() % 12]
                                                + kGiven[random() % 12]));
        rows.setValue("考号", std::to_string(2026000000 + i));
        rows.setValue("单位", "第" + std::to_string(1 + i % 40) + "中学");
        rows.setValue("成绩", std::to_string(random() % 751));
        rows.setValue("随机号", static_cast<double>(1 + random() % 1000000));
        rows.update();
    }
    database.closeAll();
}

} // namespace

int main(int argc, char** argv)
{
    const long examinees = argc > 1 ? std::stol(argv[1]) : 100000;
    const int roomCount = argc > 2 ? std::stoi(argv[2]) : 3334;
    const fs::path folder = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path() / ("sedilo-bench-" + std::to_string(::getpid()));
    const std::string templatePath = shippedTemplate(argv[0]);
    fs::remove_all(folder);
    fs::create_directories(folder / "rooms");
    fs::create_directories(folder / "copies");
    fs::create_directories(folder / "query");

    BenchPrompt prompt;
    store::SeatingDatabase database((folder / "data.mdb").string());
    cipher::NameCipher names(prompt);
    names.setPassPhrase(cipher::kCipherPassPhrase);

    std::printf("%ld examinees, %d rooms of %s, %u hardware threads\n", examinees, roomCount,
                templatePath.c_str(), std::thread::hardware_concurrency());
    const double setup = seconds([&] { storeExaminees(database, names, examinees); });
    std::printf("%-34s %8.2f s\n", "base data (setup, not timed below)", setup);

    double cpu[6] = {};
    const double copy = seconds([&] {
        for (int i = 1; i <= roomCount; ++i)
            fs::copy_file(templatePath, folder / "copies" / ("第" + std::to_string(i) + "考室.xlsx"),
                          fs::copy_options::overwrite_existing);
    }, &cpu[0]);

    const double rebuild = seconds([&] { store::RebuildWorkingCopy(database, names); }, &cpu[1]);

    rooms::RoomsTab rooms;
    rooms.ksgrid.setRows(roomCount + 1);
    for (int i = 1; i <= roomCount; ++i) {
        rooms.ksgrid.setTextMatrix(i, 0, "第" + std::to_string(i) + "考室");
        rooms.ksgrid.setTextMatrix(i, 1, templatePath);
    }
    arrange::GenerateTab generateTab;
    generateTab.ksoutpath = (folder / "rooms").string() + "/";
    arrange::GenerationResult generated;
    const double generation = seconds([&] {
        generated = arrange::GenerateArrangement(generateTab, rooms, database, names, prompt);
    }, &cpu[2]);

    // The same run with "同单位不相邻" ticked, both neighbourhoods; the base data
    // mixes 40 units, as a city's schools hand them in.
    const auto apartRun = [&](rooms::Neighbourhood neighbourhood, const char* subfolder,
                              arrange::GenerationResult& result, double& cpuUsed) {
        fs::create_directories(folder / subfolder);
        rooms.seatingRule = {true, neighbourhood};
        arrange::GenerateTab apartTab;
        apartTab.ksoutpath = (folder / subfolder).string() + "/";
        const double wall = seconds([&] {
            result = arrange::GenerateArrangement(apartTab, rooms, database, names, prompt);
        }, &cpuUsed);
        rooms.seatingRule = {};
        // Kept until the end: on ext4 without a journal, files made soon after
        // thousands were deleted are slower to create, which would time the
        // file system's bookkeeping in the next run instead of the seating.
        return wall;
    };
    arrange::GenerationResult generatedSide;
    arrange::GenerationResult generatedAround;
    double cpuSide = 0;
    double cpuAround = 0;
    const double generationSide = apartRun(rooms::Neighbourhood::Side, "rooms-side", generatedSide, cpuSide);
    const double generationAround = apartRun(rooms::Neighbourhood::Around, "rooms-around", generatedAround, cpuAround);

    // The same run over a legacy .xls template of 30 seats, for rooms per second side by side.
    const std::string xlsTemplate = SEDILO_SOURCE_DIR "/tests/fixtures/xls-room-template-30.xls";
    for (int i = 1; i <= roomCount; ++i)
        rooms.ksgrid.setTextMatrix(i, 1, xlsTemplate);
    fs::create_directories(folder / "rooms-xls");
    arrange::GenerateTab xlsTab;
    xlsTab.ksoutpath = (folder / "rooms-xls").string() + "/";
    arrange::GenerationResult generatedXls;
    const double generationXls = seconds([&] {
        generatedXls = arrange::GenerateArrangement(xlsTab, rooms, database, names, prompt);
    }, &cpu[5]);

    exporting::ExportTab exportTab;
    const std::string queryFolder = (folder / "query").string() + "/";
    int byUnit = 0;
    int forAll = 0;
    exportTab.byUnit = true;
    const double exportUnits = seconds([&] { byUnit = exporting::ExportQueryWorkbooks(exportTab, queryFolder, database, prompt); }, &cpu[3]);
    exportTab.byUnit = false;
    const double exportAll = seconds([&] { forAll = exporting::ExportQueryWorkbooks(exportTab, queryFolder, database, prompt); }, &cpu[4]);

    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);

    const double load = [] {
        double averages[1] = {};
        return ::getloadavg(averages, 1) == 1 ? averages[0] : -1.0;
    }();
    std::printf("%-38s %8s %8s\n", "phase", "wall s", "cpu s");
    const auto row = [](const char* phase, double wall, double processor, const std::string& note) {
        std::printf("%-38s %8.2f %8.2f  %s\n", phase, wall, processor, note.c_str());
    };
    row("rebuild of the working copy", rebuild, cpu[1], "");
    row("generation (its own rebuild included)", generation, cpu[2],
        std::to_string(generated.seated) + " of " + std::to_string(generated.examinees) + " seated, "
            + std::to_string(generated.workbooksWritten) + " workbooks, " + generated.message);
    row("generation without its rebuild", generation - rebuild, cpu[2] - cpu[1], "");
    const auto pairsLeft = [](const arrange::GenerationResult& result) {
        return std::to_string(result.sameUnitPairs ? result.sameUnitPairs->size() : 0) + " same-unit pairs left, "
               + std::to_string(result.seated) + " seated";
    };
    row("generation, units apart beside", generationSide, cpuSide, pairsLeft(generatedSide));
    row("generation, units apart around", generationAround, cpuAround, pairsLeft(generatedAround));
    std::printf("units apart / plain generation: %.2f beside, %.2f around (wall)\n", generationSide / generation,
                generationAround / generation);
    row("query export per unit", exportUnits, cpu[3], std::to_string(byUnit) + " workbooks");
    row("query export for all", exportAll, cpu[4], std::to_string(forAll) + " workbook");
    row("whole run (rebuild, generation, exports)", rebuild + generation + exportUnits + exportAll,
        cpu[1] + cpu[2] + cpu[3] + cpu[4], "");
    row("copying the template once per room", copy, cpu[0], "");
    std::printf("generation without rebuild / copy: %.2f (wall)\n", (generation - rebuild) / copy);
    const auto roomsPerSecond = [&](const arrange::GenerationResult& result, double wall) {
        return result.workbooksWritten / (wall - rebuild);
    };
    std::printf("room workbooks per second (rebuild left out): .xlsx %.0f, .xls %.0f (%d .xls workbooks, %s)\n",
                roomsPerSecond(generated, generation), roomsPerSecond(generatedXls, generationXls),
                generatedXls.workbooksWritten, generatedXls.message.c_str());
    std::printf("peak memory: %.1f MB; load average during the run: %.1f\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0, load);

    fs::remove_all(folder);
    return generated.outcome == arrange::GenerationResult::Outcome::Complete ? 0 : 1;
}
