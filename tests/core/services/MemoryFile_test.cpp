#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "services/workbook/MemoryFile.h"

using namespace sedilo::workbook;

// Written past the stream's own buffer, overwritten in the middle, then read
// back from the start: the bytes and the size are those a disk file would hold.
TEST(MemoryFileTest, ReadsBackWhatWasWrittenAndOverwritten)
{
    std::FILE* file = openMemoryFile();
    ASSERT_NE(file, nullptr);
    std::string expected;
    for (int line = 0; line < 5000; ++line) {
        std::fprintf(file, "<row r=\"%d\"/>", line);
        expected += "<row r=\"" + std::to_string(line) + "\"/>";
    }
    ASSERT_EQ(std::fseek(file, 6, SEEK_SET), 0);
    std::fputs("XY", file);
    expected.replace(6, 2, "XY");
    ASSERT_EQ(std::fseek(file, 0, SEEK_END), 0);
    EXPECT_EQ(std::ftell(file), static_cast<long>(expected.size()));

    std::rewind(file);
    std::string read(expected.size() + 10, '\0');
    read.resize(std::fread(read.data(), 1, read.size(), file));
    EXPECT_EQ(read, expected);
    EXPECT_NE(std::feof(file), 0);
    EXPECT_EQ(std::fclose(file), 0);
}
