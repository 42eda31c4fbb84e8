#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>

#include "XlsxTestPackage.h"
#include "services/workbook/NewWorkbook.h"
#include "services/workbook/Workbook.h"
#include "support/TempDir.h"

using namespace sedilo::workbook;
using namespace sedilo::test;

namespace {

pugi::xml_document sheetOf(const std::string& path)
{
    ZipEntries entries = readZipEntries(path);
    pugi::xml_document document;
    document.load_string(entryContent(entries, "xl/worksheets/sheet1.xml").c_str());
    return document;
}

double columnWidth(const pugi::xml_document& sheet, int column)
{
    for (pugi::xml_node col : sheet.child("worksheet").child("cols").children("col"))
        if (col.attribute("min").as_int() <= column && col.attribute("max").as_int() >= column)
            return col.attribute("width").as_double();
    return 0;
}

} // namespace

TEST(NewWorkbookTest, WrittenCellsReadBackThroughTheEngine)
{
    TempDir folder;
    NewWorkbook book;
    book.setCellText(1, 1, "姓名");
    book.setCellText(1, 4, "考室");
    book.setCellText(2, 2, "20140001");
    book.setCellText(3, 1, "two\nlines");
    book.setCellText(3, 3, "bad \xC3 byte");
    book.setCellText(3, 2, "_x0041_ \x01");
    book.setCellText(4, 1, "gone");
    book.setCellText(4, 1, "");
    const std::string saved = book.saveAs(folder.file("所有考生查询数据导出"));
    EXPECT_EQ(saved, folder.file("所有考生查询数据导出.xlsx"));

    const auto reopened = Workbook::open(saved);
    const Worksheet& sheet = reopened->firstSheet();
    EXPECT_EQ(sheet.cellText(1, 1), "姓名");
    EXPECT_EQ(sheet.cellText(1, 4), "考室");
    EXPECT_EQ(sheet.cellText(2, 2), "20140001"); // stays text
    EXPECT_EQ(sheet.cellText(3, 1), "two\nlines");
    EXPECT_EQ(sheet.cellText(3, 3), "bad \xEF\xBF\xBD byte");
    EXPECT_EQ(sheet.cellText(3, 2), "_x0041_ \x01");
    EXPECT_EQ(sheet.lastRow(), 3);
    EXPECT_EQ(sheet.lastColumn(), 4);
}

TEST(NewWorkbookTest, FontColourAndFittedWidths)
{
    TempDir folder;
    NewWorkbook book;
    book.setCellText(1, 1, "name");
    book.setCellText(2, 1, "a rather longer text");
    book.setCellText(1, 2, "考生姓名"); // four wide characters: as wide as eight narrow ones
    book.setCellText(1, 3, "abcdefgh");
    book.setFontColor(2, 1, 3, 2, 0xFF0000);
    book.fitColumns(1, 4);
    const std::string saved = book.saveAs(folder.file("sample"));

    const auto sheet = sheetOf(saved);
    EXPECT_GT(columnWidth(sheet, 1), columnWidth(sheet, 3));
    EXPECT_DOUBLE_EQ(columnWidth(sheet, 2), columnWidth(sheet, 3));
    EXPECT_EQ(columnWidth(sheet, 4), 0); // nothing to fit: the default width

    ZipEntries entries = readZipEntries(saved);
    pugi::xml_document styles;
    styles.load_string(entryContent(entries, "xl/styles.xml").c_str());
    const auto styleOf = [&](const char* reference) {
        return sheet.select_node((std::string("//c[@r='") + reference + "']").c_str()).node().attribute("s").as_int();
    };
    const auto fontColour = [&](int style) -> std::string {
        const int font = styles.select_nodes("//cellXfs/xf")[style].node().attribute("fontId").as_int();
        return styles.select_nodes("//fonts/font")[font].node().child("color").attribute("rgb").value();
    };
    EXPECT_EQ(fontColour(styleOf("A2")), "FFFF0000");
    EXPECT_EQ(fontColour(styleOf("B3")), "FFFF0000"); // an empty cell of the range is coloured too
    EXPECT_NE(fontColour(styleOf("A1")), "FFFF0000");
}

TEST(NewWorkbookTest, SavingReplacesAndFailsWithTheCause)
{
    TempDir folder;
    NewWorkbook book;
    book.setCellText(1, 1, "x");
    writeFile(folder.file("export.xlsx"), "old");
    book.saveAs(folder.file("export"));
    EXPECT_EQ(Workbook::open(folder.file("export.xlsx"))->firstSheet().cellText(1, 1), "x");
    try {
        book.saveAs(folder.file("no such folder/export"));
        FAIL() << "no failure";
    } catch (const WorkbookError& error) {
        EXPECT_NE(error.detail().find("No such file or directory"), std::string::npos) << error.detail();
    }
    EXPECT_THROW(book.setCellText(0, 1, "x"), WorkbookError);
    EXPECT_THROW(book.setCellText(1, 1, std::string(40000, 'x')), WorkbookError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}
