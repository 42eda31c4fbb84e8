#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "services/workbook/xls/BiffRecord.h"
#include "services/workbook/xls/CompoundFile.h"
#include "services/workbook/xls/XlsWorkbook.h"
#include "support/TempDir.h"
#include "XlsTestBooks.h"

namespace sedilo::workbook {
namespace {

using test::fixturePath;
namespace record = xls::record;

const std::string Seat = "座位号\n姓名\n考号";

// Fills the seats row by row as the room writer does, then blanks the
// placeholders; returns the number of seats filled.
int fillRoom(Worksheet& sheet, int examinees, const std::string& prefix)
{
    int seat = 0;
    for (int row = 2; row <= sheet.lastRow(); ++row) {
        for (int column = 1; column <= sheet.lastColumn() && seat < examinees; ++column) {
            std::string text = sheet.cellText(row, column);
            if (text.find("姓名") == std::string::npos)
                continue;
            ++seat;
            text.replace(text.find("座位号"), 9, std::to_string(seat));
            text.replace(text.find("姓名"), 6, prefix + std::to_string(seat));
            text.replace(text.find("考号"), 6, std::to_string(20140000 + seat));
            sheet.setCellText(row, column, text);
        }
    }
    sheet.replaceAll("考室名称", "第1考室(" + std::to_string(seat) + "人)");
    for (const char* word : {"座位号", "姓名", "考号", "单位"})
        sheet.replaceAll(word, "");
    return seat;
}

std::string python()
{
    // Debian's interpreter holds python3-xlrd even where another python3 comes first.
    return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

// Worksheet `sheetIndex` as python3-xlrd reads it: row, column (1-based) to text.
std::map<std::pair<int, int>, std::string> readWithXlrd(const std::string& path, int sheetIndex = 0)
{
    const std::string command = python() + " -c \"import sys, xlrd\n"
                                           "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(int(sys.argv[2]))\n"
                                           "for r in range(s.nrows):\n"
                                           "  for c in range(s.ncols):\n"
                                           "    v = s.cell_value(r, c)\n"
                                           "    if v != '': print(r + 1, c + 1, repr(v).replace(' ', '_'))\n"
                                           "\" '"
        + path + "' " + std::to_string(sheetIndex);
    std::map<std::pair<int, int>, std::string> cells;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return cells;
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        int row = 0;
        int column = 0;
        std::string value;
        if (fields >> row >> column >> value)
            cells[{row, column}] = value;
    }
    EXPECT_EQ(pclose(pipe), 0) << "xlrd could not read " << path;
    return cells;
}

// Python's repr of a text as readWithXlrd prints it.
std::string pythonRepr(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\n' ? std::string("\\n") : c == ' ' ? std::string("_") : std::string(1, c);
    return out + "'";
}

std::vector<std::string> substreamRecords(const std::string& stream, std::size_t start, std::uint16_t type)
{
    return test::recordBodies(stream, type, start);
}

class XlsFillTemplate : public ::testing::TestWithParam<const char*> {};

TEST_P(XlsFillTemplate, FilledRoomReadsBackAndKeepsEverythingElse)
{
    test::TempDir dir;
    const std::string templatePath = fixturePath(GetParam());
    const auto parsed = openXls(templatePath);
    const auto room = parsed->clone();
    ASSERT_EQ(fillRoom(room->firstSheet(), 10, "考生"), 10);
    const std::string saved = room->saveAs(dir.file("第1考室"));
    EXPECT_EQ(saved, dir.file("第1考室.xls"));

    std::map<std::pair<int, int>, std::string> expected;
    expected[{1, 1}] = "第1考室(10人)";
    for (int seat = 1; seat <= 12; ++seat) {
        const int row = 2 + (seat - 1) / 4;
        const int column = 1 + (seat - 1) % 4;
        expected[{row, column}] = seat <= 10 ? std::to_string(seat) + "\n考生" + std::to_string(seat) + "\n"
                                      + std::to_string(20140000 + seat)
                                             : "\n\n";
    }
    expected[{6, 1}] = "讲台";
    expected[{6, 2}] = "2026";

    const auto reread = openXls(saved);
    for (const auto& [key, text] : expected)
        EXPECT_EQ(reread->firstSheet().cellText(key.first, key.second), text) << key.first << "," << key.second;

    const auto xlrdCells = readWithXlrd(saved);
    for (const auto& [key, text] : expected) {
        if (key != std::make_pair(6, 2)) {
            EXPECT_EQ(xlrdCells.count(key) ? xlrdCells.at(key) : "", pythonRepr(text)) << key.first << "," << key.second;
        }
    }
    // The second sheet shares the word 姓名 with the seat cells; it keeps it.
    EXPECT_EQ(readWithXlrd(saved, 1)[std::make_pair(1, 1)], pythonRepr("姓名"));
    // The parsed template is untouched by its filled copy.
    EXPECT_EQ(parsed->firstSheet().cellText(2, 1), Seat);

    const xls::CompoundEntry before = xls::readCompoundFile(test::readBytes(templatePath));
    const xls::CompoundEntry after = xls::readCompoundFile(test::readBytes(saved));
    ASSERT_EQ(before.children.size(), after.children.size());
    for (const xls::CompoundEntry& entry : before.children) {
        if (entry.name == "Workbook")
            continue;
        const auto match = std::find_if(after.children.begin(), after.children.end(),
                                        [&](const xls::CompoundEntry& e) { return e.name == entry.name; });
        ASSERT_NE(match, after.children.end()) << entry.name;
        EXPECT_EQ(match->data, entry.data) << entry.name;
        EXPECT_EQ(match->storage, entry.storage) << entry.name;
    }

    const std::string oldStream = test::workbookStream(templatePath);
    const std::string newStream = test::workbookStream(saved);
    EXPECT_EQ(test::positionFaults(newStream), "");
    const auto oldSheets = test::sheetPositions(oldStream);
    const auto newSheets = test::sheetPositions(newStream);
    ASSERT_EQ(oldSheets.size(), newSheets.size());
    for (std::uint16_t type : {record::Xf, std::uint16_t{0x0031} /* FONT */, record::Format})
        EXPECT_EQ(substreamRecords(oldStream, 0, type), substreamRecords(newStream, 0, type)) << type;
    for (std::uint16_t type : {std::uint16_t{0x00E5} /* MERGEDCELLS */, std::uint16_t{0x007D} /* COLINFO */,
                               std::uint16_t{0x0208} /* ROW */, std::uint16_t{0x00A1} /* SETUP */,
                               std::uint16_t{0x0014} /* HEADER */, std::uint16_t{0x0015} /* FOOTER */,
                               std::uint16_t{0x007F} /* IMDATA */, std::uint16_t{0x005D} /* OBJ */,
                               std::uint16_t{0x00EC} /* MSODRAWING */, std::uint16_t{0x0200} /* DIMENSION */}) {
        const auto old = substreamRecords(oldStream, oldSheets[0], type);
        EXPECT_EQ(old, substreamRecords(newStream, newSheets[0], type)) << type;
    }
    EXPECT_FALSE(substreamRecords(oldStream, oldSheets[0], 0x00E5).empty()) << "the template has merged cells";
    // Every record of the second sheet comes out unchanged.
    const auto oldRecords = xls::splitRecords(oldStream.substr(oldSheets[1]));
    const auto newRecords = xls::splitRecords(newStream.substr(newSheets[1]));
    ASSERT_GE(newRecords.size(), 2u);
    std::string oldSecond = oldStream.substr(oldSheets[1], oldRecords.back().end());
    EXPECT_EQ(newStream.substr(newSheets[1], newRecords.back().end()), oldSecond);
}

INSTANTIATE_TEST_SUITE_P(XlsWriters, XlsFillTemplate,
                         ::testing::Values("xls-room-template.xls", "xls-room-template-lo.xls"));

TEST(XlsFill, ClonesFilledInParallelStayApart)
{
    test::TempDir dir;
    const auto parsed = openXls(fixturePath("xls-room-template-lo.xls"));
    std::vector<std::thread> workers;
    std::vector<std::string> errors(6);
    for (int i = 0; i < 6; ++i) {
        workers.emplace_back([&, i] {
            try {
                for (int round = 0; round < 5; ++round) {
                    auto room = parsed->clone();
                    fillRoom(room->firstSheet(), 12, "R" + std::to_string(i) + "-");
                    room->saveAs(dir.file("room" + std::to_string(i)));
                }
            } catch (const std::exception& error) {
                errors[i] = error.what();
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(errors[i], "");
        const auto room = openXls(dir.file("room" + std::to_string(i) + ".xls"));
        EXPECT_EQ(room->firstSheet().cellText(4, 4), "12\nR" + std::to_string(i) + "-12\n20140012");
        EXPECT_EQ(room->firstSheet().cellText(1, 1), "第1考室(12人)");
    }
}

TEST(XlsFill, LabelNumberAndMultipleCellRecordsAreRewrittenAsSharedStrings)
{
    test::TempDir dir;
    std::string mulRk = std::string("\0\0\x1e\0\0\0", 6) + std::string("\0\0\x22\0\0\0", 6)
        + std::string("\0\0\x26\0\0\0", 6) + std::string("\x03\0", 2); // 7, 8, 9 in B2:D2
    const std::string path = dir.file("handmade.xls");
    test::writeBytes(path, test::handMadeWorkbook({
                               {record::Label, test::labelBody(u"座位号 姓名", true), 0, 0},
                               {record::Label, test::labelBody(u"untouched", false), 0, 1},
                               {record::Number, test::numberBody(12.5), 0, 2},
                               {record::MulRk, mulRk, 1, 1},
                               {record::MulBlank, std::string("\0\0\0\0\0\0\x02\0", 8), 2, 0},
                               {record::Label, test::labelBody(u"last 姓名", true), 3, 0},
                           }));
    const auto book = openXls(path);
    Worksheet& sheet = book->firstSheet();
    sheet.setCellText(1, 1, "1 张三");
    sheet.setCellText(1, 3, "number became text");
    sheet.setCellText(2, 3, "middle of MULRK");
    sheet.setCellText(3, 2, "middle of MULBLANK");
    sheet.replaceAll("姓名", "");
    const std::string saved = book->saveAs(dir.file("out"));

    EXPECT_EQ(test::positionFaults(test::workbookStream(saved)), "");
    const std::map<std::pair<int, int>, std::string> expected{
        {{1, 1}, "1 张三"},          {{1, 2}, "untouched"},          {{1, 3}, "number became text"},
        {{2, 2}, "7"},               {{2, 3}, "middle of MULRK"},    {{2, 4}, "9"},
        {{3, 2}, "middle of MULBLANK"}, {{4, 1}, "last "},
    };
    const auto reread = openXls(saved);
    int cells = 0;
    reread->firstSheet().forEachCell([&](int row, int column, const std::string& text) {
        ++cells;
        EXPECT_EQ(text, expected.at({row, column})) << row << "," << column;
    });
    EXPECT_EQ(cells, static_cast<int>(expected.size()));
    const auto xlrdCells = readWithXlrd(saved);
    EXPECT_EQ(xlrdCells.at({1, 1}), pythonRepr("1 张三"));
    EXPECT_EQ(xlrdCells.at({2, 3}), pythonRepr("middle of MULRK"));
    EXPECT_EQ(xlrdCells.at({2, 4}), "9.0");
    EXPECT_EQ(xlrdCells.at({3, 2}), pythonRepr("middle of MULBLANK"));
    EXPECT_EQ(xlrdCells.at({4, 1}), pythonRepr("last "));
    // The summary stream of the hand-made file passes through.
    EXPECT_NE(xls::readCompoundFile(test::readBytes(saved)).findStream("\x05SummaryInformation"), nullptr);
}

TEST(XlsFill, FormulaCellsBecomeTheTextsWrittenIntoThem)
{
    test::TempDir dir;
    const auto book = openXls(fixturePath("xls-formulas.xls"));
    Worksheet& sheet = book->firstSheet();
    const std::string before = test::workbookStream(fixturePath("xls-formulas.xls"));
    const auto sheetStart = test::sheetPositions(before).front();
    sheet.setCellText(5, 2, "1 张三");
    sheet.replaceAll("考号", "K");
    EXPECT_EQ(sheet.cellText(5, 2), "1 张三");
    EXPECT_EQ(sheet.cellText(2, 2), "K-甲");
    const std::string saved = book->saveAs(dir.file("formulas"));
    const auto reread = openXls(saved);
    EXPECT_EQ(reread->firstSheet().cellText(5, 2), "1 张三");
    EXPECT_EQ(reread->firstSheet().cellText(2, 2), "K-甲");
    EXPECT_EQ(reread->firstSheet().cellText(1, 2), "20140002");
    const std::string after = test::workbookStream(saved);
    EXPECT_EQ(test::positionFaults(after), "");
    // The two formulas and the STRING records of their text results are gone.
    const auto afterStart = test::sheetPositions(after).front();
    EXPECT_EQ(test::recordBodies(after, xls::record::Formula, afterStart).size() + 2,
              test::recordBodies(before, xls::record::Formula, sheetStart).size());
    EXPECT_EQ(test::recordBodies(after, xls::record::String, afterStart).size() + 2,
              test::recordBodies(before, xls::record::String, sheetStart).size());
    EXPECT_EQ(readWithXlrd(saved).at({5, 2}), pythonRepr("1 张三"));
}

TEST(XlsFill, ReplaceMatchesLatinLettersInAnyCaseAndEveryOccurrence)
{
    const auto book = openXls(fixturePath("xls-sst-continue.xls"));
    Worksheet& sheet = book->firstSheet();
    sheet.replaceAll("ASCII", "a");
    sheet.replaceAll("x", "");
    EXPECT_EQ(sheet.cellText(4, 1), "a string 3 ");
    EXPECT_EQ(sheet.cellText(2, 1), "中文字符串1汉");
    EXPECT_THROW(sheet.setCellText(900, 1, "nothing there"), WorkbookError);
}

TEST(XlsFill, ManyNewStringsSplitAcrossContinueRecords)
{
    test::TempDir dir;
    const auto book = openXls(fixturePath("xls-sst-continue.xls"));
    Worksheet& sheet = book->firstSheet();
    std::string wide;
    for (int k = 0; k < 5000; ++k)
        wide += "新";
    sheet.setCellText(1, 2, wide);
    for (int row = 1; row <= 800; ++row)
        sheet.setCellText(row, 1, "row " + std::to_string(row) + " 行");
    const std::string saved = book->saveAs(dir.file("many"));
    const auto reread = openXls(saved);
    EXPECT_TRUE(reread->firstSheet().cellText(1, 2) == wide) << "the long text read back differs";
    EXPECT_EQ(reread->firstSheet().cellText(2, 2), sheet.cellText(2, 2));
    EXPECT_EQ(reread->firstSheet().cellText(777, 1), "row 777 行");
    EXPECT_EQ(test::positionFaults(test::workbookStream(saved)), "");
    const auto xlrdCells = readWithXlrd(saved);
    EXPECT_EQ(xlrdCells.at({777, 1}), pythonRepr("row 777 行"));
    EXPECT_TRUE(xlrdCells.at({1, 2}) == pythonRepr(wide)) << "the long text read by xlrd differs";
}

} // namespace
} // namespace sedilo::workbook
