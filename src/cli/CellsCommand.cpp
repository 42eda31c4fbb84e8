#include <iostream>

#include "CommandRegistry.h"
#include "PathOption.h"
#include "services/workbook/Workbook.h"

namespace sedilo::cli {

namespace {

// One line per cell, so a line break inside a text is written as "\n".
std::string oneLine(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    return line;
}

int printCells(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return usageError("cells needs exactly one workbook file");
    std::string file;
    if (const std::string problem = absolutePathOption("FILE", args[0], file); !problem.empty())
        return usageError("cells: " + problem);
    const auto book = workbook::Workbook::open(file);
    const workbook::Worksheet& sheet = book->firstSheet();
    // Collected first, so a cell that cannot be read fails before anything is printed.
    std::string lines = "rows " + std::to_string(sheet.lastRow()) + " columns " +
                        std::to_string(sheet.lastColumn()) + "\n";
    sheet.forEachCell([&](int row, int column, const std::string& text) {
        lines += std::to_string(row) + "\t" + std::to_string(column) + "\t" + oneLine(text) + "\n";
    });
    std::cout << lines;
    return kExitOk;
}

const CommandRegistrar registrar("cells", {"cells FILE   print worksheet 1 of a workbook, one cell a line", printCells});

} // namespace

} // namespace sedilo::cli
