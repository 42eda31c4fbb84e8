#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <pugixml.hpp>
#include <zip.h>

#include "basedata/BaseDataSample.h"
#include "services/Messages.h"
#include "services/workbook/Workbook.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;
using sedilo::basedata::BaseDataSample;

namespace {

std::string zipEntry(const std::string& path, const std::string& name)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    std::string out;
    zip_stat_t stat;
    if (zip_stat(archive, name.c_str(), 0, &stat) == 0) {
        if (zip_file_t* file = zip_fopen(archive, name.c_str(), 0)) {
            out.resize(stat.size);
            out.resize(static_cast<std::size_t>(std::max<zip_int64_t>(0, zip_fread(file, out.data(), stat.size))));
            zip_fclose(file);
        }
    }
    zip_close(archive);
    return out;
}

// The font colour (ARGB text as stored, "" for the default) of every cell of
// worksheet 1 of an .xlsx file written by the sample, by cell reference.
std::map<std::string, std::string> fontColors(const std::string& path)
{
    pugi::xml_document styles;
    pugi::xml_document sheet;
    const std::string stylesXml = zipEntry(path, "xl/styles.xml");
    const std::string sheetXml = zipEntry(path, "xl/worksheets/sheet1.xml");
    styles.load_buffer(stylesXml.data(), stylesXml.size());
    sheet.load_buffer(sheetXml.data(), sheetXml.size());

    std::vector<std::string> fontColor;
    for (auto font : styles.child("styleSheet").child("fonts").children("font"))
        fontColor.push_back(font.child("color").attribute("rgb").as_string());
    std::vector<std::size_t> xfFont;
    for (auto xf : styles.child("styleSheet").child("cellXfs").children("xf"))
        xfFont.push_back(xf.attribute("fontId").as_uint());

    std::map<std::string, std::string> out;
    for (auto row : sheet.child("worksheet").child("sheetData").children("row"))
        for (auto cell : row.children("c")) {
            const std::size_t xf = cell.attribute("s").as_uint();
            const std::size_t font = xf < xfFont.size() ? xfFont[xf] : 0;
            out[cell.attribute("r").as_string()] = font < fontColor.size() ? fontColor[font] : "";
        }
    return out;
}

} // namespace

TEST(BaseDataSample, WritesNumberedSampleWorkbooksIntoItsOwnFolder)
{
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::ScriptedPrompt prompt;
    std::filesystem::path folder;
    {
        BaseDataSample sample(dir.path());
        sample.show(dialogs, prompt);
        sample.show(dialogs, prompt);
        folder = sample.folder();

        EXPECT_TRUE(prompt.shown().empty());
        ASSERT_EQ(dialogs.openedDocuments.size(), 2u);
        EXPECT_EQ(dialogs.openedDocuments[0], (folder / "工作簿1.xlsx").string());
        EXPECT_EQ(dialogs.openedDocuments[1], (folder / "工作簿2.xlsx").string());
        EXPECT_EQ(folder.parent_path(), dir.path());

        const auto book = workbook::Workbook::open(dialogs.openedDocuments[1]);
        const auto& sheet = book->firstSheet();
        EXPECT_EQ(sheet.lastRow(), 4);
        EXPECT_EQ(sheet.lastColumn(), 4);
        const std::vector<std::vector<std::string>> expected = {
            {"姓名（必填）", "考号（必填）", "单位（选填）", "成绩（选填）"},
            {"张三", "20140001", "一班", "89"},
            {"李四", "20140002", "二班", "95"},
            {"王五", "20140003", "三班", "100"},
        };
        for (int row = 1; row <= 4; ++row)
            for (int column = 1; column <= 4; ++column)
                EXPECT_EQ(sheet.cellText(row, column), expected[row - 1][column - 1]) << row << "," << column;

        const auto colors = fontColors(dialogs.openedDocuments[0]);
        for (const char* red : {"A2", "B2", "A3", "B3", "A4", "B4"})
            EXPECT_EQ(colors.at(red), "FFFF0000") << red;
        for (const char* plain : {"A1", "B1", "C1", "D1", "C2", "D2", "C4", "D4"})
            EXPECT_NE(colors.at(plain), "FFFF0000") << plain;
        EXPECT_NE(zipEntry(dialogs.openedDocuments[0], "xl/worksheets/sheet1.xml").find("<cols>"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(folder)); // the folder goes with the object
}

TEST(BaseDataSample, SampleTheUserSavedOverOutlivesTheObject)
{
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::ScriptedPrompt prompt;
    std::filesystem::path saved;
    std::filesystem::path untouched;
    {
        BaseDataSample sample(dir.path());
        sample.show(dialogs, prompt);
        sample.show(dialogs, prompt);
        ASSERT_EQ(dialogs.openedDocuments.size(), 2u);
        saved = dialogs.openedDocuments[0];
        untouched = dialogs.openedDocuments[1];
        // The user types the examinee list into the sample and saves it.
        std::ofstream(saved, std::ios::binary | std::ios::trunc) << "the user's own list";
    }
    ASSERT_TRUE(std::filesystem::exists(saved));
    std::ifstream in(saved, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the user's own list");
    EXPECT_FALSE(std::filesystem::exists(untouched));
}

TEST(BaseDataSample, FailuresEndWithTheNoExcelMessageAndTheirCause)
{
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::ScriptedPrompt prompt;

    dialogs.setCanOpenDocuments(false);
    BaseDataSample sample(dir.path());
    sample.show(dialogs, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].text.rfind(messages::kNoExcel, 0), 0u);
    EXPECT_NE(prompt.shown()[0].text.find("xdg-open"), std::string::npos);
    EXPECT_NE(prompt.shown()[0].text.find("工作簿1.xlsx"), std::string::npos);

    prompt.clear();
    BaseDataSample nowhere(dir.path() / "missing" / "folder");
    nowhere.show(dialogs, prompt);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].text, messages::kNoExcel);
    EXPECT_FALSE(prompt.shown()[0].detail.empty());
}
