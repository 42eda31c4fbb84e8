// Fills a 30-seat room template and saves it 1,000 times, as generation does
// for many rooms, and compares that with plainly copying the template file.
//
// usage: bench_fill_template [TEMPLATE.xlsx]
// Without an argument it takes the ksmb.xlsx shipped beside the executable,
// or builds a 30-seat template when there is none. Build in Release to measure.

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>
#include <vector>

#include "services/workbook/NewWorkbook.h"
#include "services/workbook/Workbook.h"

namespace fs = std::filesystem;
using namespace sedilo::workbook;

namespace {

constexpr int kRooms = 1000;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string makeTemplate(const fs::path& folder)
{
    NewWorkbook book;
    book.setCellText(1, 1, "考室名称");
    for (int row = 2; row <= 7; ++row)
        for (int column = 1; column <= 5; ++column)
            book.setCellText(row, column, "座位号\n姓名\n考号");
    book.setCellText(8, 1, "监考：");
    book.fitColumns(1, 5);
    return book.saveAs((folder / "template").string());
}

void fillRoom(const Workbook& parsed, int room, const fs::path& folder)
{
    const auto copy = parsed.clone();
    Worksheet& sheet = copy->firstSheet();
    int seat = 0;
    for (int row = 2; row <= 7; ++row)
        for (int column = 1; column <= 5; ++column) {
            ++seat;
            sheet.setCellText(row, column,
                              std::to_string(seat) + "\n考生" + std::to_string(room * 30 + seat) + "\n2014" +
                                  std::to_string(100000 + room * 30 + seat));
        }
    sheet.replaceAll("考室名称", "第" + std::to_string(room + 1) + "考室(30人)");
    for (const char* word : {"座位号", "姓名", "考号", "单位"})
        sheet.replaceAll(word, "");
    copy->saveAs((folder / ("第" + std::to_string(room + 1) + "考室")).string());
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const fs::path work = fs::temp_directory_path() / ("sedilo-bench-" + std::to_string(std::random_device()()));
        fs::create_directories(work / "copies");
        fs::create_directories(work / "rooms");
        fs::create_directories(work / "parallel");

        std::string templatePath;
        if (argc > 1)
            templatePath = argv[1];
        else if (const fs::path shipped = fs::path(argv[0]).parent_path() / "ksmb.xlsx"; fs::exists(shipped))
            templatePath = shipped.string();
        else
            templatePath = makeTemplate(work);
        std::cout << "template: " << templatePath << " (" << fs::file_size(templatePath) << " bytes)\n";

        auto start = Clock::now();
        for (int i = 0; i < kRooms; ++i)
            fs::copy_file(templatePath, work / "copies" / (std::to_string(i) + ".xlsx"),
                          fs::copy_options::overwrite_existing);
        const double copying = secondsSince(start);

        start = Clock::now();
        const auto parsed = Workbook::open(templatePath);
        const double opening = secondsSince(start);

        start = Clock::now();
        for (int room = 0; room < kRooms; ++room)
            fillRoom(*parsed, room, work / "rooms");
        const double filling = secondsSince(start);

        const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
        start = Clock::now();
        std::vector<std::thread> workers;
        for (unsigned t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                for (int room = static_cast<int>(t); room < kRooms; room += static_cast<int>(threads))
                    fillRoom(*parsed, room, work / "parallel");
            });
        for (auto& worker : workers)
            worker.join();
        const double parallel = secondsSince(start);

        std::cout << "open the template once:            " << opening * 1000 << " ms\n"
                  << "copy the template file " << kRooms << " times:   " << copying << " s ("
                  << kRooms / copying << " files/s)\n"
                  << "fill and save " << kRooms << " rooms:           " << filling << " s (" << kRooms / filling
                  << " rooms/s)\n"
                  << "the same on " << threads << " threads:            " << parallel << " s ("
                  << kRooms / parallel << " rooms/s)\n";
        fs::remove_all(work);
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << "bench_fill_template: " << failure.what() << "\n";
        return 1;
    }
}
