#include <gtest/gtest.h>

#include <filesystem>

#include "ArrangeTestBed.h"
#include "arrange/FillRoomWorkbook.h"

namespace sedilo::test {
namespace {

// Generation produces rooms on several threads; the files and rows must be
// those of filling the rooms one after another with the same examinees.
class ParallelProductionTest : public GenerationBed {};

TEST_F(ParallelProductionTest, SameFilesAndRowsAsRoomByRoom)
{
    std::vector<Examinee> examinees = namedExaminees("考生", 150);
    for (std::size_t i = 0; i < examinees.size(); ++i)
        examinees[i].unit = i % 3 ? "一班" : "教育单位";
    storeExaminees(examinees);

    const std::string small = makeTemplate(m_dir.file("small"), seatBlock(2, 3, 2, 3, "座位号:姓名(单位)"));
    const std::string none = makeTemplate(m_dir.file("none"), {{{1, 1}, "考室名称"}, {{2, 2}, "讲台"}});
    const std::vector<std::pair<std::string, std::string>> rooms{
        {"一", ksmb()}, {"二", small}, {"三", none}, {"四", fixturePath("arrange-template.xls")},
        {"五", ksmb()}, {"六", small}, {"七", ksmb()}, {"八", ksmb()}, {"九", ksmb()},
    };
    for (const auto& [name, path] : rooms)
        addRoom(name, path);
    m_rooms.options.clickFillBox(0);
    EXPECT_EQ(generate(3).outcome, arrange::GenerationResult::Outcome::Complete);

    TempDir reference;
    ListSource source(examinees);
    std::vector<std::string> written;
    for (const auto& [name, path] : rooms) {
        written.push_back(arrange::FillRoomWorkbook(path, name, reference.folderText(),
                                                    rooms::FillDirection::Horizontal, source));
        if (source.exhausted())
            break;
    }
    EXPECT_EQ(written.size(), 9u);
    for (const std::string& file : written) {
        const std::string name = std::filesystem::path(file).filename().string();
        EXPECT_EQ(readCells(m_out + name), readCells(file)) << name;
    }
    EXPECT_EQ(outputFiles().size(), written.size());

    const auto rows = placements();
    ASSERT_EQ(rows.size(), source.seats.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].room, source.seats[i].first) << i;
        EXPECT_EQ(rows[i].seat, std::to_string(source.seats[i].second)) << i;
    }
}

} // namespace
} // namespace sedilo::test
