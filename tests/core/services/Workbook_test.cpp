#include <gtest/gtest.h>

#include <filesystem>

#include "XlsxTestPackage.h"
#include "services/workbook/Workbook.h"
#include "support/TempDir.h"

using namespace sedilo::workbook;
using namespace sedilo::test;

namespace {

const std::string kCrafted = "xlsx-crafted.xlsx";
const std::string kCraftedSheet = "book/sheets/b.xml";

// The cause of the failure to open `path`, or "" when it opens.
std::string openFailure(const std::string& path)
{
    try {
        Workbook::open(path);
        return "";
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.file(), path);
        return error.detail();
    }
}

// The crafted fixture with one entry changed (or removed, given nothing).
std::string craftedWith(const TempDir& folder, const std::string& entry, const std::optional<std::string>& content)
{
    ZipEntries entries = readZipEntries(fixturePath(kCrafted));
    if (content)
        entryContent(entries, entry) = *content;
    else
        std::erase_if(entries, [&](const auto& e) { return e.first == entry; });
    const std::string path = folder.file("variant.xlsx");
    writeZip(path, entries);
    return path;
}

#define EXPECT_CAUSE(cause, fragment) EXPECT_NE((cause).find(fragment), std::string::npos) << (cause)

} // namespace

TEST(WorkbookTest, TheFormatIsToldFromTheContent)
{
    TempDir folder;
    const std::string renamed = folder.file("template.dat");
    std::filesystem::copy_file(fixturePath(kCrafted), renamed);
    const auto book = Workbook::open(renamed);
    EXPECT_EQ(book->extension(), ".xlsx");
    EXPECT_EQ(book->path(), renamed);
    EXPECT_EQ(book->firstSheet().cellText(1, 1), "plain");
    EXPECT_EQ(book->clone()->extension(), ".xlsx");
}

TEST(WorkbookTest, FilesThatAreNoWorkbookAreRefused)
{
    TempDir folder;
    writeFile(folder.file("notes.xlsx"), "just some text");
    writeFile(folder.file("empty.xlsx"), "");
    EXPECT_CAUSE(openFailure(folder.file("notes.xlsx")), "not a workbook");
    EXPECT_CAUSE(openFailure(folder.file("empty.xlsx")), "not a workbook");
    EXPECT_CAUSE(openFailure(folder.file("absent.xlsx")), "No such file or directory");
    EXPECT_CAUSE(openFailure(folder.path().string()), "not a file");

    // A zip that holds no workbook.
    writeZip(folder.file("archive.xlsx"), {{"readme.txt", "hello"}});
    EXPECT_CAUSE(openFailure(folder.file("archive.xlsx")), "_rels/.rels");
}

TEST(WorkbookTest, TruncatedOrCorruptArchivesAreRefused)
{
    TempDir folder;
    const std::string whole = readFile(fixturePath(kCrafted));
    const std::string path = folder.file("cut.xlsx");
    for (std::size_t length = 4; length < whole.size(); length += 61) {
        SCOPED_TRACE(length);
        writeFile(path, whole.substr(0, length));
        EXPECT_NE(openFailure(path), "");
    }
    // Damage inside the packed sheet data: the CRC or the inflater notices.
    ZipEntries entries = readZipEntries(fixturePath(kCrafted));
    writeZip(path, entries);
    std::string bytes = readFile(path);
    const std::size_t sheetData = bytes.find(kCraftedSheet) + kCraftedSheet.size() + 40;
    for (std::size_t i = 0; i < 16; ++i)
        bytes[sheetData + i] = static_cast<char>(~bytes[sheetData + i]);
    writeFile(path, bytes);
    EXPECT_NE(openFailure(path), "");
}

TEST(WorkbookTest, MalformedOrMissingPartsAreRefusedNamingThePart)
{
    TempDir folder;
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet, "<worksheet><sheetData><row>")),
                 "malformed XML in book/sheets/b.xml");
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet, "<worksheet/>")), "no sheetData");
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet, std::nullopt)), "book/sheets/b.xml is missing");
    EXPECT_CAUSE(openFailure(craftedWith(folder, "book/strings.xml", "<sst><si><t>x</si></sst>")),
                 "malformed XML in book/strings.xml");
    EXPECT_CAUSE(openFailure(craftedWith(folder, "book/main.xml", "<workbook><sheets/></workbook>")), "no sheet");
    EXPECT_CAUSE(openFailure(craftedWith(folder, "book/_rels/main.xml.rels", "<Relationships/>")),
                 "not named in the workbook's relationships");
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet,
                                         "<worksheet><sheetData><row><c r=\"A1\" t=\"s\"><v>9</v></c></row>"
                                         "</sheetData></worksheet>")),
                 "the cell A1 refers to the shared string 9, which does not exist");
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet,
                                         "<worksheet><sheetData><row><c r=\"A1\"><v>12abc</v></c></row>"
                                         "</sheetData></worksheet>")),
                 "not a number");
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet,
                                         "<worksheet><sheetData><row><c r=\"XFE1\"><v>1</v></c></row>"
                                         "</sheetData></worksheet>")),
                 "invalid reference \"XFE1\"");
}

TEST(WorkbookTest, PartsTooLargeOrPackedImplausiblyTightAreRefused)
{
    TempDir folder;
    const std::string path = folder.file("sized.xlsx");
    writeZip(path, readZipEntries(fixturePath(kCrafted)));

    // A sheet part that claims to unpack to 300 MB.
    setDeclaredSize(path, kCraftedSheet, 300u * 1024 * 1024);
    EXPECT_CAUSE(openFailure(path), "book/sheets/b.xml is too large");

    // 100 MB from a few hundred packed bytes: no deflate stream does that.
    setDeclaredSize(path, kCraftedSheet, 100u * 1024 * 1024);
    EXPECT_CAUSE(openFailure(path), "zip bomb");

    // A part that unpacks to more than it declares is not inflated past that size.
    const std::string big(4 * 1024 * 1024, 'a');
    const std::string bomb = craftedWith(folder, "book/strings.xml", "<sst><si><t>" + big + "</t></si></sst>");
    setDeclaredSize(bomb, "book/strings.xml", 1000);
    EXPECT_CAUSE(openFailure(bomb), "book/strings.xml is damaged");
}

TEST(WorkbookTest, SheetsTooLargeToReadInBoundedMemoryAreRefused)
{
    TempDir folder;
    const auto sheet = [](const std::string& rows) {
        return "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" + rows +
               "</sheetData></worksheet>";
    };
    std::string rows;
    for (int row = 1; row <= 100; ++row) {
        rows += "<row>";
        for (int column = 0; column < 10000; ++column)
            rows += "<c/>";
        rows += "</row>";
    }
    EXPECT_EQ(openFailure(craftedWith(folder, kCraftedSheet, sheet(rows))), "");
    // One cell beyond the cap, as for .xls.
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet, sheet(rows + "<row><c/></row>"))),
                 "more than 1000000 cells");

    // Short attributes cost pugixml far more than their text: counted before parsing.
    std::string attributes;
    for (int element = 0; element < 800000; ++element)
        attributes += "<x a=\"\" b=\"\" c=\"\" d=\"\" e=\"\" f=\"\" g=\"\"/>";
    EXPECT_CAUSE(openFailure(craftedWith(folder, kCraftedSheet, sheet("<row><c>" + attributes + "</c></row>"))),
                 "would take about");
}
