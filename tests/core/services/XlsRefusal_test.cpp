#include <gtest/gtest.h>

#include <random>

#include "services/workbook/Workbook.h"
#include "services/workbook/xls/CompoundFile.h"
#include "services/workbook/xls/XlsWorkbook.h"
#include "support/TempDir.h"
#include "XlsTestBooks.h"

namespace sedilo::workbook {
namespace {

namespace record = xls::record;

// The cause of the failure to open `bytes` as a workbook, or "" when it opened.
std::string refusal(const std::string& bytes)
{
    test::TempDir dir;
    const std::string path = dir.file("input.xls");
    test::writeBytes(path, bytes);
    try {
        Workbook::open(path);
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.file(), path);
        return error.detail();
    }
    return "";
}

const std::vector<test::HandMadeCell> OneCell{{record::Label, test::labelBody(u"姓名", true), 0, 0}};

TEST(XlsRefusal, EncryptedOlderAndForeignStreamsNameTheirCause)
{
    EXPECT_EQ(refusal(test::handMadeWorkbook(OneCell)), "");
    EXPECT_NE(refusal(test::handMadeWorkbook(OneCell, 0x0600, true)).find("encrypted"), std::string::npos);
    EXPECT_NE(refusal(test::handMadeWorkbook(OneCell, 0x0500)).find("BIFF5"), std::string::npos);
    EXPECT_NE(refusal(test::handMadeWorkbook(OneCell, 0x0500, false, "Book")).find("BIFF5"), std::string::npos);
    EXPECT_NE(refusal(test::handMadeWorkbook(OneCell, 0x0600, false, "WordDocument")).find("no workbook"),
              std::string::npos);

    // A workbook stream that opens with a BIFF4 BOF record.
    xls::CompoundEntry root;
    root.storage = true;
    xls::CompoundEntry stream;
    stream.name = "Workbook";
    xls::appendRecord(stream.data, 0x0409, std::string("\0\0\x10\0\0\0", 6));
    root.children.push_back(stream);
    EXPECT_NE(refusal(xls::writeCompoundFile(root, "", "")).find("Excel 2–4"), std::string::npos);

    // An .xlsx saved with a password: Office wraps the package in a compound document.
    xls::CompoundEntry protectedPackage;
    protectedPackage.storage = true;
    for (const char* name : {"EncryptionInfo", "EncryptedPackage"}) {
        xls::CompoundEntry part;
        part.name = name;
        part.data = std::string(600, '\x5a');
        protectedPackage.children.push_back(part);
    }
    EXPECT_NE(refusal(xls::writeCompoundFile(protectedPackage, "", "")).find("protected by a password"),
              std::string::npos);
}

TEST(XlsRefusal, DamagedFilesFailWithACause)
{
    const std::string good = test::readBytes(test::fixturePath("xls-room-template-lo.xls"));
    // The cause is the report: libgsf's own complaints stay off stderr.
    testing::internal::CaptureStderr();
    EXPECT_NE(refusal(good.substr(0, 3000)), "");
    EXPECT_NE(refusal(std::string(xls::CompoundFileMagic) + std::string(5000, '\x7f')), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(refusal("姓名,考号\n张三,1\n"), "");
    EXPECT_NE(refusal(""), "");
    EXPECT_THROW(openXls("/nonexistent/xls/file.xls"), WorkbookError);

    // Random damage to the workbook stream: refused or read, never a crash.
    std::mt19937 random(7);
    const std::string stream = test::workbookStream(test::fixturePath("xls-room-template-lo.xls"));
    const xls::CompoundEntry root = xls::readCompoundFile(good);
    for (int round = 0; round < 200; ++round) {
        std::string damaged = stream;
        for (int k = 0; k < 4; ++k)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        test::TempDir dir;
        const std::string path = dir.file("damaged.xls");
        test::writeBytes(path, xls::writeCompoundFile(root, "Workbook", damaged));
        try {
            const auto book = openXls(path);
            book->firstSheet().replaceAll("姓名", "张三");
            book->saveAs(dir.file("saved"));
        } catch (const WorkbookError&) {
        }
    }
}

TEST(XlsRefusal, WritingIntoACellThatHoldsNothingIsRefused)
{
    test::TempDir dir;
    const std::string path = dir.file("one.xls");
    test::writeBytes(path, test::handMadeWorkbook(OneCell));
    const auto book = openXls(path);
    EXPECT_THROW(book->firstSheet().setCellText(5, 5, "x"), WorkbookError);
}

} // namespace
} // namespace sedilo::workbook
