// Importing a large base-data workbook: rows per second for reading the
// worksheet alone and for the whole import (read, encrypt, store).
//
//   bench_import [ROWS]        (default 100000; build with CMAKE_BUILD_TYPE=Release)

#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

#include "basedata/BaseDataImport.h"
#include "basedata/ExamineeListReader.h"
#include "services/cipher/NameCipher.h"
#include "services/workbook/NewWorkbook.h"
#include "store/SeatingDatabase.h"

using namespace sedilo;
using Clock = std::chrono::steady_clock;

namespace {

class QuietPrompt : public Prompt {
public:
    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail) override
    {
        if (style == PromptStyle::Error)
            std::cerr << text << " " << detail << "\n";
        return PromptAnswer::No;
    }
    void showPlain(const std::string& text, bool) override { std::cerr << text << "\n"; }
};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time too, since a shared machine stretches the wall-clock figure.
double processorSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void report(const char* what, int rows, double seconds, double processor)
{
    std::cout << what << ": " << rows << " rows in " << seconds << " s (" << processor << " s processor), "
              << static_cast<long>(rows / seconds) << " rows/s\n";
}

} // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const auto folder = std::filesystem::temp_directory_path() / ("sedilo-bench-import-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    auto start = Clock::now();
    workbook::NewWorkbook book;
    book.setCellText(1, 1, "姓名（必填）");
    book.setCellText(1, 2, "考号（必填）");
    book.setCellText(1, 3, "单位（选填）");
    book.setCellText(1, 4, "成绩（选填）");
    for (int i = 1; i <= rows; ++i) {
        book.setCellText(i + 1, 1, "考生" + std::to_string(i));
        book.setCellText(i + 1, 2, std::to_string(2014000000 + i));
        book.setCellText(i + 1, 3, std::to_string(i % 40 + 1) + "班");
        book.setCellText(i + 1, 4, std::to_string(i % 101));
    }
    const std::string path = book.saveAs((folder / "examinees").string());
    std::cout << "workbook written in " << secondsSince(start) << " s (" << std::filesystem::file_size(path)
              << " bytes)\n";

    start = Clock::now();
    double processor = processorSeconds();
    // The streaming reader the import uses.
    const int read = static_cast<int>(basedata::readExamineeList(path).size());
    report("reading alone", read, secondsSince(start), processorSeconds() - processor);

    QuietPrompt prompt;
    cipher::NameCipher cipher(prompt);
    cipher.setPassPhrase(cipher::kCipherPassPhrase);
    store::SeatingDatabase database((folder / "data.mdb").string());
    basedata::BaseDataTab tab;
    tab.sjlj = path;
    start = Clock::now();
    processor = processorSeconds();
    const basedata::ImportOutcome outcome = basedata::ImportBaseData(tab, database, cipher, prompt);
    const double seconds = secondsSince(start);
    processor = processorSeconds() - processor;
    database.closeAll();
    if (!outcome.succeeded)
        return 1;
    report("whole import", outcome.imported, seconds, processor);

    std::filesystem::remove_all(folder);
    return 0;
}
