// Filling an .xls room template: rooms per second for clone, 30 seat cells,
// the placeholder replacements and the save, next to plainly copying the
// template file as often. The template is parsed once, as in a generation.
//
//   bench_xls_fill [TEMPLATE.xls [ROOMS]]
//   (default tests/fixtures/xls-room-template-30.xls, 1000 rooms; build with
//   CMAKE_BUILD_TYPE=Release)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "services/workbook/Workbook.h"

using namespace sedilo::workbook;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string defaultTemplate()
{
    const char* fixtures = std::getenv("SEDILO_FIXTURES");
    return (fs::path(fixtures ? fixtures : SEDILO_SOURCE_DIR "/tests/fixtures") / "xls-room-template-30.xls").string();
}

int fill(Worksheet& sheet, int room)
{
    int seat = 0;
    const int rows = sheet.lastRow();
    const int columns = sheet.lastColumn();
    for (int row = 2; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            std::string text = sheet.cellText(row, column);
            if (text.find("姓名") == std::string::npos)
                continue;
            ++seat;
            const std::string number = std::to_string(20260000 + room * 30 + seat);
            text.replace(text.find("座位号"), 9, std::to_string(seat));
            text.replace(text.find("姓名"), 6, "考生" + number);
            text.replace(text.find("考号"), 6, number);
            sheet.setCellText(row, column, text);
        }
    }
    sheet.replaceAll("考室名称", "第" + std::to_string(room) + "考室(" + std::to_string(seat) + "人)");
    for (const char* word : {"座位号", "姓名", "考号", "单位"})
        sheet.replaceAll(word, "");
    return seat;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string templatePath = argc > 1 ? argv[1] : defaultTemplate();
    const int rooms = argc > 2 ? std::atoi(argv[2]) : 1000;
    const fs::path folder = fs::temp_directory_path() / "sedilo-bench-xls";
    fs::create_directories(folder);
    try {
        auto start = Clock::now();
        const auto parsed = Workbook::open(templatePath);
        const double parse = secondsSince(start);

        start = Clock::now();
        int seats = 0;
        for (int room = 1; room <= rooms; ++room) {
            const auto copy = parsed->clone();
            seats += fill(copy->firstSheet(), room);
            copy->saveAs((folder / ("第" + std::to_string(room) + "考室")).string());
        }
        const double filling = secondsSince(start);

        start = Clock::now();
        for (int room = 1; room <= rooms; ++room)
            fs::copy_file(templatePath, folder / ("copy" + std::to_string(room) + ".xls"),
                          fs::copy_options::overwrite_existing);
        const double copying = secondsSince(start);

        std::printf("template %s parsed in %.4f s\n", templatePath.c_str(), parse);
        std::printf("filled and saved %d rooms (%d seats): %.2f s, %.0f rooms/s\n", rooms, seats, filling,
                    rooms / filling);
        std::printf("plain copies of the template: %.2f s, %.0f files/s\n", copying, rooms / copying);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        fs::remove_all(folder);
        return 1;
    }
    fs::remove_all(folder);
    return 0;
}
