#include <gtest/gtest.h>

#include <stdexcept>

#include "rooms/RoomGrid.h"

using sedilo::rooms::RoomGrid;

namespace {
void fill(RoomGrid& grid, int rows)
{
    grid.setRows(rows);
    for (int row = 1; row < rows; ++row) {
        grid.setTextMatrix(row, 0, "room" + std::to_string(row));
        grid.setTextMatrix(row, 1, "/t/" + std::to_string(row) + ".xlsx");
    }
}
} // namespace

TEST(RoomGridTest, StartsWithHeaderAndOneBlankRowAndNoSelection)
{
    RoomGrid grid;
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_TRUE(grid.isBlankRow(1));
    EXPECT_LT(grid.Row(), 1);
    EXPECT_EQ(grid.cellColor(1, 1), RoomGrid::kDefaultColor);
}

TEST(RoomGridTest, SetRowsAppendsBlankRowsAndDropsFromTheEnd)
{
    RoomGrid grid;
    fill(grid, 4);
    grid.setRows(6);
    EXPECT_EQ(grid.TextMatrix(3, 0), "room3");
    EXPECT_TRUE(grid.isBlankRow(4));
    EXPECT_EQ(grid.TextMatrix(5, 1), "");

    grid.setRow(5);
    grid.setRows(3);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(2, 0), "room2");
    EXPECT_EQ(grid.Row(), 2) << "the current row follows the last row when its own is dropped";
    EXPECT_THROW(grid.TextMatrix(3, 0), std::out_of_range);

    // Growing again gives blank rows, not the dropped texts.
    grid.setRows(4);
    EXPECT_TRUE(grid.isBlankRow(3));
    EXPECT_THROW(grid.setRows(1), std::invalid_argument);
}

TEST(RoomGridTest, RemoveItemMovesLaterRowsUpWithTheirColours)
{
    RoomGrid grid;
    fill(grid, 4);
    grid.setRow(3);
    grid.setCol(1);
    grid.setCurrentCellColor(0xFF0000);
    grid.setRow(1);
    grid.setCurrentCellColor(0x00FF00);

    grid.RemoveItem(1);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 0), "room2");
    EXPECT_EQ(grid.TextMatrix(2, 0), "room3");
    EXPECT_EQ(grid.cellColor(1, 1), RoomGrid::kDefaultColor) << "the removed row's colour goes with it";
    EXPECT_EQ(grid.cellColor(2, 1), 0xFF0000u);

    grid.setRow(2);
    grid.RemoveItem(2);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_THROW(grid.RemoveItem(1), std::logic_error) << "the one data row stays";
    EXPECT_THROW(grid.RemoveItem(0), std::out_of_range);
}

TEST(RoomGridTest, ClearEmptiesEveryCellAndColourButKeepsRows)
{
    RoomGrid grid;
    fill(grid, 3);
    grid.setTextMatrix(0, 0, "考室名称");
    grid.setRow(2);
    grid.setCol(1);
    grid.setCurrentCellColor(0xFF0000);

    grid.Clear();
    EXPECT_EQ(grid.Rows(), 3);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            EXPECT_EQ(grid.TextMatrix(row, column), "");
            EXPECT_EQ(grid.cellColor(row, column), RoomGrid::kDefaultColor);
        }
    }
}

TEST(RoomGridTest, BlankRowIsTestedOnTheNameTrimmedOfPlainSpacesOnly)
{
    RoomGrid grid;
    grid.setRows(5);
    grid.setTextMatrix(1, 0, "   ");
    grid.setTextMatrix(1, 1, "/t/a.xlsx");
    grid.setTextMatrix(2, 0, "\u3000");
    grid.setTextMatrix(3, 0, "\t");
    EXPECT_TRUE(grid.isBlankRow(1)) << "a path alone does not make a room";
    EXPECT_FALSE(grid.isBlankRow(2));
    EXPECT_FALSE(grid.isBlankRow(3));
    EXPECT_TRUE(grid.isBlankRow(4));
}

TEST(RoomGridTest, ListenerHearsChangesButNotNoOps)
{
    RoomGrid grid;
    int calls = 0;
    grid.setChangeListener([&] { ++calls; });
    grid.setTextMatrix(1, 0, "A");
    grid.setTextMatrix(1, 0, "A");
    grid.setRows(3);
    grid.setRow(2);
    grid.setRow(2);
    grid.RemoveItem(2);
    grid.Clear();
    EXPECT_EQ(calls, 5);
}
