#include <gtest/gtest.h>

#include <array>
#include <string>

#include "services/workbook/TextRowsWorkbook.h"
#include "services/workbook/Workbook.h"
#include "services/workbook/XlsxwriterSheet.h"
#include "support/TempDir.h"

using namespace sedilo::workbook;
using namespace sedilo::test;

// A list small enough for scratch files in memory and one past that bound,
// whose scratch files go to the disk: both read back whole, texts repaired
// and escapes kept literal as NewWorkbook writes them.
TEST(TextRowsWorkbookTest, SmallAndLargeListsReadBackWhole)
{
    TempDir folder;
    for (const std::size_t rows : {std::size_t{3}, XlsxwriterSheet::kCellsWithScratchInMemory / 2 + 1}) {
        std::array<std::string, 2> texts;
        std::array<std::string_view, 2> views;
        const auto rowAt = [&](std::size_t row) {
            texts = {"第" + std::to_string(row + 1) + "行", row == 1 ? "bad \xC3 _x0041_" : ""};
            views = {texts[0], texts[1]};
            return RowTexts(views);
        };
        const std::string saved = saveTextRows(folder.file("list" + std::to_string(rows)), rows, 2, rowAt);

        const auto book = Workbook::open(saved);
        const Worksheet& sheet = book->firstSheet();
        EXPECT_EQ(sheet.lastRow(), static_cast<int>(rows));
        EXPECT_EQ(sheet.cellText(1, 1), "第1行");
        EXPECT_EQ(sheet.cellText(2, 2), "bad \xEF\xBF\xBD _x0041_");
        EXPECT_EQ(sheet.cellText(3, 2), ""); // an empty text writes no cell
        EXPECT_EQ(sheet.cellText(static_cast<int>(rows), 1), "第" + std::to_string(rows) + "行");
    }
}
