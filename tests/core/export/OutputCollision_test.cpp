#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "export/OutputCollision.h"
#include "services/failure/Failure.h"
#include "support/TempDir.h"

using namespace sedilo;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file) { std::ofstream(file) << "x"; }

Cause causeOf(const exporting::OutputCollision& collision, const std::string& name, bool namedAfterUnit)
{
    try {
        collision.refuse(name, namedAfterUnit);
    } catch (const Failure& failure) {
        return failure.cause();
    }
    return {};
}

} // namespace

TEST(OutputCollisionTest, RefusesOnlyAFileThatIsARoomOrQueryWorkbookOfTheArrangement)
{
    test::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    touch(dir.path() / "一班.xlsx");        // room 一班 from an .xlsx template
    touch(dir.path() / "二班.xls");         // room 二班 from an .xls template: 二班.xlsx replaces nothing
    touch(dir.path() / "三班.xlsx");        // a unit's query workbook
    touch(dir.path() / "Room4.xlsm");
    touch(dir.path() / "所有考生查询数据导出.xlsx");

    exporting::OutputCollision collision(folder);
    collision.protectRoomWorkbooks({"一班", "二班", "Room4", "第9考室"});
    collision.protectQueryWorkbooks({"三班"});

    const Cause unit = causeOf(collision, "一班", true);
    EXPECT_EQ(unit.kind, CauseKind::UnitCollidesWithRoom);
    EXPECT_EQ(unit.unit, "一班");
    EXPECT_EQ(unit.room, "一班");
    EXPECT_EQ(unit.file, folder + "一班.xlsx");

    const Cause sheet = causeOf(collision, "一班", false);
    EXPECT_EQ(sheet.kind, CauseKind::OutputCollidesWithRoom);
    EXPECT_EQ(sheet.name, "一班");
    const Cause query = causeOf(collision, "三班", false);
    EXPECT_EQ(query.kind, CauseKind::OutputCollidesWithQueryWorkbook);
    EXPECT_EQ(query.unit, "三班");
    EXPECT_EQ(causeOf(collision, "所有考生查询数据导出", false).kind, CauseKind::OutputCollidesWithQueryWorkbook);

    // Other formats, names the file system tells apart, and files not there are free.
    EXPECT_NO_THROW(collision.refuse("二班", true));
    EXPECT_NO_THROW(collision.refuse("Room4", true));
    EXPECT_NO_THROW(collision.refuse("room4", true));
    EXPECT_NO_THROW(collision.refuse("第9考室", true));
    EXPECT_NO_THROW(collision.refuse("一班 ", true));
}

TEST(OutputCollisionTest, AnotherNameForTheRoomWorkbookIsTheSameFile)
{
    test::TempDir dir;
    fs::create_directory(dir.path() / "out");
    touch(dir.path() / "out" / "一班.xlsx");
    fs::create_directory_symlink(dir.path() / "out", dir.path() / "link");

    exporting::OutputCollision collision((dir.path() / "link").string() + "/");
    collision.protectRoomWorkbooks({"一班"});
    EXPECT_THROW(collision.refuse("../out/一班", true), Failure);
}
