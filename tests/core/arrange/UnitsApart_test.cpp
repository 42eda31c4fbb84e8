#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "ArrangeTestBed.h"
#include "services/Messages.h"

namespace sedilo::test {
namespace {

using rooms::Neighbourhood;

constexpr const char* kSeatText = "座位号|姓名|单位";

// Seats in A, B and D..F of rows 2..7: column C is an aisle.
Cells aisleTemplate()
{
    Cells cells = seatBlock(2, 7, 1, 2, kSeatText);
    cells.merge(seatBlock(2, 7, 4, 6, kSeatText));
    return cells;
}

class UnitsApartTest : public GenerationBed {
protected:
    void addRooms(int count)
    {
        const std::string path = makeTemplate(m_dir.file("aisle"), aisleTemplate());
        for (int i = 1; i <= count; ++i)
            addRoom("第" + std::to_string(i) + "考室", path);
    }

    void storeUnits(const std::vector<std::string>& units)
    {
        std::vector<Examinee> examinees;
        for (std::size_t i = 0; i < units.size(); ++i)
            examinees.push_back({"考生" + std::to_string(i), std::to_string(20260000 + i), units[i]});
        storeExaminees(examinees);
    }

    // Reads every room workbook back and counts, from the filled cells alone,
    // the neighbouring seats holding one unit; also checks that each seat the
    // database gives shows its examinee in the workbook.
    long countPairs(int rooms, Neighbourhood neighbourhood, long examinees)
    {
        std::map<std::pair<std::string, std::string>, std::string> seated; // (room, seat) -> name
        for (const Placement& row : placements())
            seated[{row.room, row.seat}] = row.name;
        const Cells layout = aisleTemplate();
        std::set<int> rowsWithSeats;
        std::set<int> columnsWithSeats;
        for (const auto& [cell, text] : layout) {
            if (text == kSeatText) {
                rowsWithSeats.insert(cell.first);
                columnsWithSeats.insert(cell.second);
            }
        }
        const auto rank = [](const std::set<int>& values, int value) {
            return static_cast<int>(std::distance(values.begin(), values.find(value)));
        };
        long pairs = 0;
        long shown = 0;
        for (int room = 1; room <= rooms; ++room) {
            const std::string name = "第" + std::to_string(room) + "考室";
            std::map<std::pair<int, int>, std::string> unitAt; // (row rank, column rank) -> unit
            for (const auto& [cell, text] : readCells(m_out + name + ".xlsx")) {
                if (layout.count(cell) == 0 || layout.at(cell) != kSeatText || text == "||")
                    continue;
                const std::size_t bar = text.find('|');
                const std::size_t secondBar = text.rfind('|');
                const std::string seat = text.substr(0, bar);
                EXPECT_EQ((seated[{name, seat}]), text.substr(bar + 1, secondBar - bar - 1)) << name << " seat " << seat;
                unitAt[{rank(rowsWithSeats, cell.first), rank(columnsWithSeats, cell.second)}] = text.substr(secondBar + 1);
                ++shown;
            }
            for (const auto& [at, unit] : unitAt) {
                for (const auto& [other, otherUnit] : unitAt) {
                    const int dr = std::abs(at.first - other.first);
                    const int dc = std::abs(at.second - other.second);
                    const bool near = neighbourhood == Neighbourhood::Side ? dr + dc == 1 : std::max(dr, dc) == 1;
                    pairs += near && at < other && unit == otherUnit;
                }
            }
        }
        EXPECT_EQ(shown, examinees) << "everyone seated and shown";
        return pairs;
    }
};

TEST_F(UnitsApartTest, ClassesNumberedClassByClassNeverSitTogether)
{
    std::vector<std::string> units;
    for (int i = 0; i < 1000; ++i)
        units.push_back("第" + std::to_string(i / 50 + 1) + "班");
    storeUnits(units);
    addRooms(34);
    m_rooms.seatingRule = {true, Neighbourhood::Around};
    const auto result = generate();

    EXPECT_EQ(result.outcome, arrange::GenerationResult::Outcome::Complete);
    ASSERT_TRUE(result.sameUnitPairs);
    EXPECT_TRUE(result.sameUnitPairs->empty());
    EXPECT_EQ(countPairs(34, Neighbourhood::Around, 1000), 0);
    EXPECT_EQ(m_prompt.texts().back(), std::string("所有考室生成完成！\n") + messages::sameUnitNeighbours(0));
    // Rooms still fill in grid order, each to its last seat.
    std::map<std::string, int> perRoom;
    for (const Placement& row : placements())
        ++perRoom[row.room];
    EXPECT_EQ(perRoom["第1考室"], 30);
    EXPECT_EQ(perRoom["第33考室"], 30);
    EXPECT_EQ(perRoom["第34考室"], 10);
}

TEST_F(UnitsApartTest, OneUnitOfMostExamineesIsSeatedWithAnHonestCount)
{
    std::vector<std::string> units;
    for (int i = 0; i < 80; ++i)
        units.push_back(i % 10 < 7 ? "一中" : i % 10 < 9 ? "二中" : "三中");
    storeUnits(units);
    addRooms(3);
    m_rooms.seatingRule = {true, Neighbourhood::Side};
    m_rooms.options.clickOrderingBox(4); // random, repeatable until the next import
    const auto result = generate();

    ASSERT_TRUE(result.sameUnitPairs);
    const long pairs = countPairs(3, Neighbourhood::Side, 80);
    EXPECT_EQ(static_cast<long>(result.sameUnitPairs->size()), pairs);
    // 56 of 80 from one unit: the 24 others can part at most four pairs each
    // of the 49 + 49 + 30 the rooms' 80 seats have.
    EXPECT_GE(pairs, 49 + 49 + 30 - 4 * 24);
    EXPECT_LE(pairs, 49 + 49 + 30 - 4 * 24 + 12);
    const auto& closing = m_prompt.shown().back();
    EXPECT_EQ(closing.text, std::string("所有考室生成完成！\n") + messages::sameUnitNeighbours(pairs));
    EXPECT_EQ(std::count(closing.detail.begin(), closing.detail.end(), '\n'), pairs);
    EXPECT_NE(closing.detail.find("一中"), std::string::npos);

    const auto first = placements();
    generate();
    EXPECT_EQ(placements(), first);
}

} // namespace
} // namespace sedilo::test
