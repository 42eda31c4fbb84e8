#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sedilo::test {

// A written print sheet read back part by part: what a spreadsheet shows and
// how it prints, without going through the program's own reader.
struct PrintedSheet {
    std::string name;
    std::map<std::pair<int, int>, std::string> cells; // (row, column), 1-based, text cells only
    std::vector<int> breaksAfterRows;                  // manual page breaks
    std::string paperSize, orientation, fitToWidth, fitToHeight;
    bool fitToPage = false;
    std::string printTitles; // the rows repeated on every page, e.g. "$1:$2"
    std::vector<std::string> merged;

    std::string at(int row, int column) const;
    std::vector<std::string> row(int row, int columns) const;
    int lastRow() const;
};

std::vector<PrintedSheet> readPrintedBook(const std::string& path);

} // namespace sedilo::test
