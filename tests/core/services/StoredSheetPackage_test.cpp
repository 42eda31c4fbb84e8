#include <gtest/gtest.h>

#include <string>
#include <zip.h>

#include "services/workbook/StoredSheetPackage.h"

using sedilo::workbook::StoredSheetPackage;

namespace {

// A package as libzip writes it in memory: deflated parts around a stored
// sheet, and one more part stored after it when `storedAfter` is given.
std::string libzipPackage(const std::string& sheet, const std::string& storedAfter = "")
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    const std::string before(300, 'a');
    const std::string after = "<types>" + std::string(200, 'b') + "</types>";
    const auto add = [&](const char* name, const std::string& content, bool store) {
        const zip_int64_t index =
            zip_file_add(archive, name, zip_source_buffer(archive, content.data(), content.size(), 0), 0);
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), 1700000000, 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 1);
    };
    add("[Content_Types].xml", before, false);
    add("xl/worksheets/sheet1.xml", sheet, true);
    add("xl/styles.xml", after, false);
    if (!storedAfter.empty())
        add("docProps/app.xml", storedAfter, true);
    zip_close(archive);
    zip_stat_t built;
    zip_source_stat(buffer, &built);
    std::string bytes(built.size, '\0');
    zip_source_open(buffer);
    zip_source_read(buffer, bytes.data(), built.size);
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

} // namespace

// Put together from what was learnt, a package is the one libzip writes for
// the same sheet, whether the sheet shrinks, grows or empties, and whatever
// entries follow it.
TEST(StoredSheetPackage, AssemblesWhatLibzipWrites)
{
    const std::string sample = "<worksheet>" + std::string(500, 'x') + "</worksheet>";
    for (const std::string storedAfter : {"", "<Properties/>"}) {
        const auto package = [&](const std::string& sheet) { return libzipPackage(sheet, storedAfter); };
        const auto layout = StoredSheetPackage::learn(package, sample);
        ASSERT_TRUE(layout);
        for (const std::string& sheet : {sample, std::string(), std::string("<worksheet/>"),
                                        "<worksheet>" + std::string(9000, 'y') + "姓名</worksheet>"})
            EXPECT_EQ(layout->assemble(sheet), package(sheet)) << sheet.size() << " " << storedAfter;
    }
}

// A packager whose bytes change elsewhere with the sheet teaches nothing.
TEST(StoredSheetPackage, RefusesWhatItCannotRepeat)
{
    const std::string sample = "<worksheet>" + std::string(500, 'x') + "</worksheet>";
    const auto sizeAfter = [](const std::string& sheet) { return libzipPackage(sheet, std::to_string(sheet.size())); };
    EXPECT_FALSE(StoredSheetPackage::learn(sizeAfter, sample));
    EXPECT_FALSE(StoredSheetPackage::learn([](const std::string&) { return std::string("not a zip"); }, sample));
    const auto unrelated = [](const std::string&) { return libzipPackage("<other/>"); };
    EXPECT_FALSE(StoredSheetPackage::learn(unrelated, sample));
}
