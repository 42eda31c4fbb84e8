#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <thread>

#include "XlsxTestPackage.h"
#include "services/workbook/Workbook.h"
#include "support/TempDir.h"

using namespace sedilo::workbook;
using namespace sedilo::test;

namespace {

const std::string kSeatSheet = "xl/worksheets/sheet1.xml";

pugi::xml_node cellElement(const pugi::xml_document& sheet, const char* reference)
{
    return sheet.select_node((std::string("//*[local-name()='c'][@r='") + reference + "']").c_str()).node();
}

void parseSheet(pugi::xml_document& document, const std::string& xml)
{
    const auto parsed = document.load_buffer(xml.data(), xml.size());
    ASSERT_TRUE(parsed) << parsed.description() << " at " << parsed.offset;
}

std::string sheetXmlOf(const std::string& path, const std::string& part = kSeatSheet)
{
    auto entries = readZipEntries(path);
    return entryContent(entries, part);
}

// Fills a room as the room writer does.
void fillRoom(Worksheet& sheet, const std::string& name)
{
    sheet.setCellText(2, 1, "1\n" + name + "\n20140001");
    sheet.setCellText(2, 2, "2\n李四\n20140002");
    sheet.replaceAll("考室名称", "第1考室(2人)");
    for (const char* word : {"座位号", "姓名", "考号", "单位"})
        sheet.replaceAll(word, "");
}

} // namespace

TEST(XlsxWorkbookTest, AFilledCopyKeepsEveryOtherEntryByteForByte)
{
    TempDir folder;
    const std::string templatePath = fixturePath("xlsx-seat-template.xlsx");
    const auto book = Workbook::open(templatePath);
    fillRoom(book->firstSheet(), "张三");
    const std::string saved = book->saveAs(folder.file("第1考室"));
    EXPECT_EQ(saved, folder.file("第1考室.xlsx"));

    const auto before = readRawZipEntries(templatePath);
    const auto after = readRawZipEntries(saved);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i].name);
        EXPECT_EQ(after[i].name, before[i].name);
        if (before[i].name == kSeatSheet) {
            EXPECT_NE(after[i].crc, before[i].crc);
            continue;
        }
        EXPECT_EQ(after[i].method, before[i].method);
        EXPECT_EQ(after[i].crc, before[i].crc);
        EXPECT_EQ(after[i].packed, before[i].packed);
    }

    const auto reopened = Workbook::open(saved);
    const Worksheet& sheet = reopened->firstSheet();
    EXPECT_EQ(sheet.cellText(1, 1), "第1考室(2人)");
    EXPECT_EQ(sheet.cellText(2, 1), "1\n张三\n20140001");
    EXPECT_EQ(sheet.cellText(2, 3), "\n\n"); // the line breaks between the words stay
    EXPECT_EQ(sheet.cellText(6, 1), "监考：Name ");
    EXPECT_EQ(sheet.lastRow(), 6);
}

TEST(XlsxWorkbookTest, ChangedCellsBecomeInlineStringsKeepingTheirOtherAttributes)
{
    TempDir folder;
    const std::string templatePath = fixturePath("xlsx-seat-template.xlsx");
    const auto book = Workbook::open(templatePath);
    Worksheet& sheet = book->firstSheet();
    const std::string awkward = " <a & b> \"q\" _x0041_ \x01\r\n ";
    sheet.setCellText(1, 1, awkward);
    sheet.setCellText(2, 2, "座位号");
    sheet.setCellText(2, 3, "座位号 姓名");
    sheet.replaceAll("座位号", "");
    sheet.replaceAll("姓名", "");
    const std::string saved = book->saveAs(folder.file("room"));

    pugi::xml_document original;
    parseSheet(original, sheetXmlOf(templatePath));
    pugi::xml_document edited;
    parseSheet(edited, sheetXmlOf(saved));
    for (const char* reference : {"A1", "B2", "D4"}) {
        SCOPED_TRACE(reference);
        const pugi::xml_node before = cellElement(original, reference);
        const pugi::xml_node after = cellElement(edited, reference);
        ASSERT_TRUE(before && after);
        EXPECT_STRNE(before.attribute("s").value(), "");
        EXPECT_STREQ(after.attribute("s").value(), before.attribute("s").value());
        EXPECT_STREQ(after.attribute("t").value(), std::string_view(reference) == "B2" ? "" : "inlineStr");
    }
    // Emptied by the replace: no value left, style kept.
    const pugi::xml_node emptied = cellElement(edited, "B2");
    EXPECT_FALSE(emptied.first_child());
    EXPECT_STREQ(emptied.attribute("t").value(), "");
    EXPECT_STREQ(cellElement(edited, "A1").child("is").child("t").attribute("xml:space").value(), "preserve");

    const auto reopened = Workbook::open(saved);
    EXPECT_EQ(reopened->firstSheet().cellText(1, 1), awkward);
    EXPECT_EQ(reopened->firstSheet().cellText(2, 2), "");
    EXPECT_EQ(reopened->firstSheet().cellText(2, 3), " ");
    EXPECT_EQ(reopened->firstSheet().cellText(4, 4), "\n\n考号");
}

TEST(XlsxWorkbookTest, FormulaCellsWrittenOverLoseTheirFormulaAndTheCalculationChain)
{
    TempDir folder;
    ZipEntries entries = readZipEntries(fixturePath("xlsx-crafted.xlsx"));
    std::string& relationships = entryContent(entries, "book/_rels/main.xml.rels");
    relationships.insert(relationships.find("</Relationships>"),
                         "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                         "relationships/calcChain\" Target=\"calcChain.xml\"/>");
    std::string& types = entryContent(entries, "[Content_Types].xml");
    types.insert(types.find("</Types>"), "<Override PartName=\"/book/calcChain.xml\" ContentType=\"application/"
                                         "vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>");
    entries.emplace_back("book/calcChain.xml", "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/"
                                               "2006/main\"><c r=\"A5\" i=\"7\"/><c r=\"B5\"/></calcChain>");
    writeZip(folder.file("chained.xlsx"), entries);

    const auto book = Workbook::open(folder.file("chained.xlsx"));
    Worksheet& sheet = book->firstSheet();
    sheet.setCellText(5, 2, "姓名 by formula");
    sheet.setCellText(5, 5, "master of a shared formula");
    const std::string saved = book->saveAs(folder.file("filled"));

    auto savedEntries = readZipEntries(saved);
    pugi::xml_document document;
    parseSheet(document, entryContent(savedEntries, "book/sheets/b.xml"));
    EXPECT_FALSE(cellElement(document, "B5").child("x:f"));
    EXPECT_FALSE(cellElement(document, "E5").child("x:f"));
    // E6 shared E5's formula: it keeps its stored result, as a value.
    EXPECT_FALSE(cellElement(document, "E6").child("x:f"));
    EXPECT_TRUE(cellElement(document, "A5").child("x:f"));
    const auto reread = Workbook::open(saved);
    EXPECT_EQ(reread->firstSheet().cellText(5, 2), "姓名 by formula");
    EXPECT_EQ(reread->firstSheet().cellText(6, 5), "4");
    for (const auto& [name, content] : savedEntries) {
        EXPECT_NE(name, "book/calcChain.xml");
        EXPECT_EQ(content.find("calcChain"), std::string::npos) << name;
    }
}

TEST(XlsxWorkbookTest, CellsTheSheetLacksAreAddedInTheirRowsInOrder)
{
    TempDir folder;
    ZipEntries entries = readZipEntries(fixturePath("xlsx-crafted.xlsx"));
    std::string& sheetXml = entryContent(entries, "book/sheets/b.xml");
    sheetXml.replace(sheetXml.find("<x:row r=\"20\">"), std::string("<x:row r=\"20\"><x:c r=\"H20\" s=\"1\"/></x:row>").size(),
                     "<x:row r=\"20\" s=\"2\" customFormat=\"1\"/>");
    writeZip(folder.file("crafted.xlsx"), entries);

    const auto book = Workbook::open(folder.file("crafted.xlsx"));
    Worksheet& sheet = book->firstSheet();
    sheet.setCellText(2, 9, "right of row 2");
    sheet.setCellText(3, 3, "between C and E");
    sheet.setCellText(4, 2, "a new row");
    sheet.setCellText(20, 4, "into an empty row");
    sheet.setCellText(30, 1, "below everything");
    sheet.setCellText(30, 2, "");
    const std::string saved = book->saveAs(folder.file("added"));

    pugi::xml_document document;
    parseSheet(document, sheetXmlOf(saved, "book/sheets/b.xml"));
    std::vector<std::string> order;
    for (const auto& found : document.select_nodes("//*[local-name()='c']"))
        order.push_back(found.node().attribute("r").value());
    const std::vector<std::string> expected = {"A1", "B1", "C1", "D1", "A2", "B2", "C2", "D2", "E2", "I2", "",
                                               "",   "C3", "E3", "",   "B4", "A5", "B5", "C5", "D5", "E5", "A6",
                                               "B6", "E6", "G6", "D20", "A30"};
    EXPECT_EQ(order, expected);
    EXPECT_STREQ(cellElement(document, "D20").attribute("s").value(), "2");
    EXPECT_STREQ(cellElement(document, "D20").name(), "x:c");

    const auto reopened = Workbook::open(saved);
    const Worksheet& result = reopened->firstSheet();
    EXPECT_EQ(result.cellText(3, 3), "between C and E");
    EXPECT_EQ(result.cellText(3, 2), "2");
    EXPECT_EQ(result.cellText(3, 5), "5");
    EXPECT_EQ(result.cellText(20, 4), "into an empty row");
    EXPECT_EQ(result.cellText(30, 1), "below everything");
    EXPECT_EQ(result.lastRow(), 30);
    EXPECT_EQ(result.lastColumn(), 9);
}

TEST(XlsxWorkbookTest, AnEmptySheetGetsItsFirstCells)
{
    TempDir folder;
    ZipEntries entries = readZipEntries(fixturePath("xlsx-crafted.xlsx"));
    std::string& sheetXml = entryContent(entries, "book/sheets/b.xml");
    sheetXml = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData/></worksheet>";
    writeZip(folder.file("empty.xlsx"), entries);

    const auto book = Workbook::open(folder.file("empty.xlsx"));
    EXPECT_EQ(book->firstSheet().lastRow(), 0);
    EXPECT_EQ(book->firstSheet().lastColumn(), 0);
    book->firstSheet().setCellText(2, 3, "first");
    const auto reopened = Workbook::open(book->saveAs(folder.file("filled")));
    EXPECT_EQ(reopened->firstSheet().cellText(2, 3), "first");
    EXPECT_EQ(reopened->firstSheet().lastRow(), 2);
}

TEST(XlsxWorkbookTest, AnUneditedSaveCopiesEveryEntry)
{
    TempDir folder;
    const std::string templatePath = fixturePath("xlsx-crafted.xlsx");
    const std::string saved = Workbook::open(templatePath)->saveAs(folder.file("copy"));
    const auto before = readRawZipEntries(templatePath);
    const auto after = readRawZipEntries(saved);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_EQ(after[i].packed, before[i].packed);
    }
}

TEST(XlsxWorkbookTest, SavingReplacesAFileAndFailsCleanly)
{
    TempDir folder;
    const auto book = Workbook::open(fixturePath("xlsx-seat-template.xlsx"));
    writeFile(folder.file("room.xlsx"), "an older file");
    book->firstSheet().setCellText(2, 1, "new");
    EXPECT_EQ(book->saveAs(folder.file("room")), folder.file("room.xlsx"));
    EXPECT_EQ(Workbook::open(folder.file("room.xlsx"))->firstSheet().cellText(2, 1), "new");

    try {
        book->saveAs(folder.file("missing/room"));
        FAIL() << "no failure";
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.cause().kind, sedilo::CauseKind::FolderMissing);
        EXPECT_EQ(error.file(), folder.file("missing"));
        EXPECT_NE(error.detail().find("No such file or directory"), std::string::npos) << error.detail();
    }

    std::filesystem::create_directory(folder.file("taken.xlsx"));
    EXPECT_THROW(book->saveAs(folder.file("taken")), WorkbookError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken.xlsx")));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"room.xlsx", "taken.xlsx"}));
}

TEST(XlsxWorkbookTest, ClonesOfOneTemplateAreFilledOnSeveralThreadsAtOnce)
{
    TempDir folder;
    const auto parsed = Workbook::open(fixturePath("xlsx-seat-template.xlsx"));
    constexpr int kThreads = 4;
    constexpr int kRooms = 10;
    std::vector<std::thread> workers;
    std::vector<std::string> failures(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            try {
                for (int room = 0; room < kRooms; ++room) {
                    const auto copy = parsed->clone();
                    fillRoom(copy->firstSheet(), "考生" + std::to_string(t * kRooms + room));
                    copy->saveAs(folder.file("room" + std::to_string(t * kRooms + room)));
                }
            } catch (const std::exception& error) {
                failures[t] = error.what();
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    for (const auto& failure : failures)
        EXPECT_EQ(failure, "");
    for (int room = 0; room < kThreads * kRooms; ++room)
        EXPECT_EQ(Workbook::open(folder.file("room" + std::to_string(room) + ".xlsx"))->firstSheet().cellText(2, 1),
                  "1\n考生" + std::to_string(room) + "\n20140001");
    EXPECT_EQ(parsed->firstSheet().cellText(2, 1), "座位号\n姓名\n考号");
}

TEST(XlsxWorkbookTest, ACopyKeepsItsTemplatesFormatAndExtension)
{
    TempDir folder;
    const std::string types = "[Content_Types].xml";
    const struct {
        const char* contentType;
        const char* extension;
    } formats[] = {
        {"application/vnd.ms-excel.sheet.macroEnabled.main+xml", ".xlsm"},
        {"application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml", ".xltx"},
        {"application/vnd.ms-excel.template.macroEnabled.main+xml", ".xltm"},
        {"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml", ".xlsx"},
    };
    const std::string sheetType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
    for (const auto& format : formats) {
        auto entries = readZipEntries(fixturePath("xlsx-seat-template.xlsx"));
        std::string& declared = entryContent(entries, types);
        const auto at = declared.find(sheetType);
        ASSERT_NE(at, std::string::npos);
        declared.replace(at, sheetType.size(), format.contentType);
        const std::string source = folder.file(std::string("template") + format.extension);
        writeZip(source, entries);

        auto book = Workbook::open(source);
        EXPECT_EQ(book->extension(), format.extension);
        fillRoom(book->firstSheet(), "张三");
        const std::string saved = book->saveAs(folder.file("第1考室"));
        EXPECT_EQ(saved, folder.file(std::string("第1考室") + format.extension));
        EXPECT_EQ(Workbook::open(saved)->firstSheet().cellText(2, 1), "1\n张三\n20140001");
    }
}
