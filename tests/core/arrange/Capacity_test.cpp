#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "arrange/Capacity.h"
#include "support/TempDir.h"

using namespace sedilo;
namespace fs = std::filesystem;

TEST(SeatCountsTest, CountsEachTemplateOnceUntilItChangesAndNeverGuessesZero)
{
    test::TempDir dir;
    const std::string copy = dir.file("room.xlsx");
    fs::copy_file(test::fixturePath("xlsx-seat-template.xlsx"), copy);
    std::ofstream(dir.file("notes.xlsx")) << "not a workbook";

    arrange::SeatCounts counts;
    EXPECT_EQ(counts.of(copy), 12);
    EXPECT_EQ(counts.of(test::fixturePath("xls-room-template-30.xls")), 30);
    EXPECT_EQ(counts.of(dir.file("missing.xlsx")), std::nullopt);
    EXPECT_EQ(counts.of(dir.file("notes.xlsx")), std::nullopt);
    EXPECT_EQ(counts.of(test::fixturePath("arrange-error-cell.xlsx")), std::nullopt); // generation stops at the cell
    EXPECT_EQ(counts.of(dir.path().string()), std::nullopt);                           // a folder

    // Same modification time: the count is kept, the file is not read again.
    const auto modified = fs::last_write_time(copy);
    fs::copy_file(test::fixturePath("xls-room-template-30.xls"), copy, fs::copy_options::overwrite_existing);
    fs::last_write_time(copy, modified);
    EXPECT_EQ(counts.of(copy), 12);
    fs::last_write_time(copy, modified + std::chrono::seconds(5));
    EXPECT_EQ(counts.of(copy), 30);
}

TEST(SeatCountsTest, TheLineGivesTotalExamineesAndShortfallOrSpare)
{
    test::TempDir dir;
    const std::string twelve = test::fixturePath("xlsx-seat-template.xlsx");
    arrange::SeatCounts counts;
    using Rooms = std::vector<std::pair<std::string, std::string>>;

    arrange::Capacity capacity = arrange::measureCapacity(Rooms{{"甲", twelve}, {"乙", twelve}}, counts, 20);
    EXPECT_EQ(capacity.seats, 24);
    EXPECT_FALSE(capacity.seatsShort());
    EXPECT_EQ(arrange::capacityLine(capacity), "座位合计24个，基础数据考生20人，空余4个座位。");

    capacity = arrange::measureCapacity(Rooms{{"甲", twelve}, {"乙", dir.file("gone.xlsx")}}, counts, 20);
    EXPECT_EQ(capacity.unknownRooms, 1);
    EXPECT_TRUE(capacity.seatsShort());
    EXPECT_EQ(arrange::capacityLine(capacity),
              "座位合计至少12个（1间考室的模板无法读取，座位数未知），基础数据考生20人，已知座位还缺8个座位！");
    EXPECT_EQ(arrange::seatCountText(capacity.rooms[1].seats), "座位数：未知（模板文件不存在或无法读取）");

    // The grid: blank rows are no rooms; the examinees not yet counted.
    rooms::RoomGrid grid;
    grid.setRows(4);
    grid.setTextMatrix(1, 0, "甲");
    grid.setTextMatrix(1, 1, twelve);
    grid.setTextMatrix(3, 0, "丙");
    grid.setTextMatrix(3, 1, twelve);
    capacity = arrange::measureCapacity(grid, counts, std::nullopt);
    EXPECT_EQ(capacity.rooms.size(), 2u);
    EXPECT_FALSE(capacity.seatsShort());
    EXPECT_EQ(arrange::capacityLine(capacity), "座位合计24个");
}
