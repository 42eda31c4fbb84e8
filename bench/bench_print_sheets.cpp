// The print-ready sheets of a city-wide arrangement: 100,000 examinees seated
// 30 to a room in 3,334 rooms, 400 units, written straight into the working
// copy. Prints the seconds to write the three sheets and their sizes.
//
// usage: bench_print_sheets [EXAMINEES [ROOMS [UNITS]]]

#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "export/print/PrintSheets.h"
#include "export/print/SeatedArrangement.h"
#include "store/Statements.h"

namespace {

using namespace sedilo;

// Processor time of the whole process: on a loaded machine the wall time
// measures the other programs too.
double processSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
namespace fs = std::filesystem;

class BenchPrompt : public Prompt {
public:
    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail) override
    {
        std::fprintf(style == PromptStyle::Error ? stderr : stdout, "%s %s\n", text.c_str(), detail.c_str());
        return PromptAnswer::No;
    }
    void showPlain(const std::string& text, bool) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

void storeArrangement(store::SeatingDatabase& database, long examinees, long rooms, long units)
{
    const long perRoom = (examinees + rooms - 1) / rooms;
    database.replaceSharedRecordset();
    database.OpenDataConnection();
    store::Recordset& rows = database.SharedRecordset();
    rows.open(store::sql::kSelectWorkingCopy, database.SharedConnection());
    for (long i = 0; i < examinees; ++i) {
        rows.addNew();
        rows.setValue("姓名", "考生" + std::to_string(i));
        rows.setValue("考号", "0" + std::to_string(2026000000 + i));
        rows.setValue("单位", "第" + std::to_string(1 + i % units) + "班");
        rows.setValue("成绩", std::string("60"));
        rows.setValue("随机号", static_cast<double>(i));
        rows.setValue("考室", "第" + std::to_string(1 + i / perRoom) + "考室");
        rows.setValue("座位号", std::to_string(1 + i % perRoom));
        rows.update();
    }
    database.closeAll();
}

} // namespace

int main(int argc, char** argv)
{
    const long examinees = argc > 1 ? std::stol(argv[1]) : 100000;
    const long rooms = argc > 2 ? std::stol(argv[2]) : 3334;
    const long units = argc > 3 ? std::stol(argv[3]) : 400;
    const fs::path folder = fs::temp_directory_path() / ("sedilo-bench-print-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "out");

    store::SeatingDatabase database((folder / "data.mdb").string());
    storeArrangement(database, examinees, rooms, units);
    std::vector<std::string> roomOrder;
    for (long i = 1; i <= rooms; ++i)
        roomOrder.push_back("第" + std::to_string(i) + "考室");

    // The reading alone, for the share of the whole that it takes.
    const auto readStart = std::chrono::steady_clock::now();
    const long seated = exporting::readSeatedArrangement(database, roomOrder).seatedCount();
    const double read = std::chrono::duration<double>(std::chrono::steady_clock::now() - readStart).count();

    BenchPrompt prompt;
    const auto start = std::chrono::steady_clock::now();
    const double processStart = processSeconds();
    const auto result = exporting::WritePrintSheets({}, (folder / "out").string() + "/", roomOrder, database, prompt);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double processor = processSeconds() - processStart;

    std::printf("%ld examinees, %ld rooms, %ld units: three print sheets in %.2f s wall, %.2f s processor "
                "(reading the %ld seated alone: %.2f s)\n",
                examinees, rooms, units, wall, processor, seated, read);
    for (const std::string& file : result.written)
        std::printf("  %s  %.1f MB\n", fs::path(file).filename().c_str(),
                    static_cast<double>(fs::file_size(file)) / 1e6);
    // Each sheet on its own, to tell which one the whole waits for.
    BenchPrompt quiet;
    for (const exporting::PrintSheetChoice& alone :
         {exporting::PrintSheetChoice{true, false, false}, exporting::PrintSheetChoice{false, true, false},
          exporting::PrintSheetChoice{false, false, true}}) {
        const auto sheetStart = std::chrono::steady_clock::now();
        const auto single = exporting::WritePrintSheets(alone, (folder / "out").string() + "/", roomOrder, database, quiet);
        std::printf("  alone: %s in %.2f s\n", single.written.empty() ? "?" : fs::path(single.written[0]).filename().c_str(),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - sheetStart).count());
    }
    fs::remove_all(folder);
    return result.succeeded ? 0 : 1;
}
