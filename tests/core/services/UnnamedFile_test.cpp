#include <gtest/gtest.h>

#include <filesystem>

#include "XlsxTestPackage.h"
#include "services/workbook/AtomicSave.h"
#include "support/TempDir.h"

using sedilo::workbook::UnnamedFile;

// A file written unnamed shows up only once named, whole, and never over a
// file already there; one never named leaves nothing behind.
TEST(UnnamedFile, AppearsWholeWhenNamedAndNeverReplacesAFile)
{
    sedilo::test::TempDir dir;
    auto file = UnnamedFile::write(dir.path().string(), "第一考室");
    if (!file)
        GTEST_SKIP() << "this file system makes no unnamed files";
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    ASSERT_TRUE(file->nameAs(dir.file("一.xlsx")));
    EXPECT_EQ(sedilo::test::readFile(dir.file("一.xlsx")), "第一考室");

    auto second = UnnamedFile::write(dir.path().string(), "第二考室");
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->nameAs(dir.file("一.xlsx")));
    EXPECT_EQ(sedilo::test::readFile(dir.file("一.xlsx")), "第一考室");
    second.reset();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    EXPECT_FALSE(UnnamedFile::write(dir.file("no such folder"), "x"));
}
