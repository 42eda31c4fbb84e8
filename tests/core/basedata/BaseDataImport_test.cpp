#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "BaseDataTestBed.h"
#include "services/process/ProcessControl.h"
#include "support/NamedChildProcess.h"
#include "support/ScriptedDialogs.h"

using namespace sedilo;
using namespace sedilo::basedata;
using sedilo::test::BaseDataTestBed;
using sedilo::test::fixturePath;
using sedilo::test::StoredExaminee;
using Row = ExamineeGrid::Row;

namespace {

const Row kBlankRow = {" ", "", "", "", ""};

std::vector<double> randomNumbers(const std::vector<StoredExaminee>& examinees)
{
    std::vector<double> out;
    for (const auto& examinee : examinees)
        out.push_back(examinee.randomNumber);
    return out;
}

} // namespace

// The same examinees from the .xlsx and the legacy .xls fixture: numbers stored
// as numbers, names with surrounding spaces, empty unit and score, and a row
// without exam number that ends the data above a filled row.
class ImportFixtureWorkbook : public BaseDataTestBed, public ::testing::WithParamInterface<const char*> {};

TEST_P(ImportFixtureWorkbook, ReadsRowsUpToTheFirstWithoutExamNumber)
{
    const ImportOutcome outcome = importFrom(fixturePath(GetParam()));

    ASSERT_TRUE(outcome.succeeded) << (m_prompt.shown().empty() ? "" : m_prompt.shown().back().detail);
    EXPECT_EQ(outcome.imported, 3);
    EXPECT_EQ(m_prompt.texts(), (std::vector<std::string>{kDoNotOperateDuringImport, kImportDone}));

    EXPECT_EQ(gridRows(), (std::vector<Row>{ExamineeGrid::kHeaders,
                                            {"1", "张三", "20140001", "一班", "89"},
                                            {"2", "李四", "20140002", "", "89.5"},
                                            {"3", "王五", "20140003", "三班", ""},
                                            kBlankRow}));

    const auto stored = storedExaminees();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].name, "张三");
    EXPECT_EQ(stored[0].number, "20140001");
    EXPECT_EQ(stored[1].unit, "");
    EXPECT_EQ(stored[1].score, "89.5");
    EXPECT_EQ(stored[2].name, "王五");
    EXPECT_EQ(stored[2].unit, "三班");
    EXPECT_EQ(stored[2].score, "0");

    // M is the last row holding a value (row 6, below the end of the data).
    const ProgressState bar = m_tab.Prbar.state();
    EXPECT_EQ(bar.maximum, 6);
    EXPECT_EQ(bar.value, 6);
    for (double random : randomNumbers(stored)) {
        EXPECT_GE(random, 1);
        EXPECT_LE(random, 6);
        EXPECT_EQ(random, std::floor(random));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ImportFixtureWorkbook,
                         ::testing::Values("basedata-examinees.xlsx", "basedata-examinees.xls"));

using BaseDataImport = BaseDataTestBed;

TEST_F(BaseDataImport, HeaderOnlyWorkbookEmptiesTheBaseData)
{
    ASSERT_TRUE(importFrom(makeExaminees("first", 4)).succeeded);
    m_prompt.clear();

    const ImportOutcome outcome = importFrom(fixturePath("basedata-header-only.xlsx"));

    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.imported, 0);
    EXPECT_TRUE(storedExaminees().empty());
    EXPECT_EQ(m_tab.Prbar.state().value, m_tab.Prbar.state().maximum);
    EXPECT_EQ(m_prompt.texts(), (std::vector<std::string>{kDoNotOperateDuringImport, kImportDone}));
    EXPECT_EQ(gridRows(), (std::vector<Row>{ExamineeGrid::kHeaders, kBlankRow}));
}

TEST_F(BaseDataImport, NameOfSpacesOnlyEndsTheData)
{
    ASSERT_TRUE(importFrom(fixturePath("basedata-blank-name.xlsx")).succeeded);
    const auto stored = storedExaminees();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].name, "乙");
}

TEST_F(BaseDataImport, SecondImportReplacesFirstInDatabaseAndGrid)
{
    ASSERT_TRUE(importFrom(makeExaminees("first", 5)).succeeded);
    const std::string second = makeWorkbook("second", {{"h"}, {"甲", "A1", "", "1"}, {"乙", "A2", "二班", ""}});
    ASSERT_TRUE(importFrom(second).succeeded);

    const auto stored = storedExaminees();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].name, "甲");
    EXPECT_EQ(stored[1].number, "A2");
    EXPECT_EQ(gridRows(), (std::vector<Row>{ExamineeGrid::kHeaders,
                                            {"1", "甲", "A1", "", "1"},
                                            {"2", "乙", "A2", "二班", ""},
                                            kBlankRow}));
}

TEST_F(BaseDataImport, RandomNumbersLieWithinRangeAndFollowTheSeed)
{
    const std::string path = makeExaminees("fifty", 50);
    ASSERT_TRUE(importFrom(path, ImportSettings{42}).succeeded);
    const auto first = randomNumbers(storedExaminees());
    ASSERT_TRUE(importFrom(path, ImportSettings{42}).succeeded);
    const auto again = randomNumbers(storedExaminees());
    ASSERT_TRUE(importFrom(path, ImportSettings{43}).succeeded);
    const auto other = randomNumbers(storedExaminees());

    ASSERT_EQ(first.size(), 50u);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
    for (double random : first) {
        EXPECT_GE(random, 1);
        EXPECT_LE(random, 51); // N + 1: the header row counts
        EXPECT_EQ(random, std::floor(random));
    }
    EXPECT_GT(std::set<double>(first.begin(), first.end()).size(), 10u);
}

TEST_F(BaseDataImport, FailureHalfWayKeepsTheOldBaseDataAndGrid)
{
    ASSERT_TRUE(importFrom(fixturePath("basedata-examinees.xlsx")).succeeded);
    const auto before = storedExaminees();
    const auto gridBefore = gridRows();
    m_prompt.clear();

    const ImportOutcome outcome = importFrom(fixturePath("basedata-error-row50.xlsx"));

    EXPECT_FALSE(outcome.succeeded);
    ASSERT_FALSE(m_prompt.shown().empty());
    const auto& box = m_prompt.shown().back();
    EXPECT_EQ(box.style, PromptStyle::Error);
    EXPECT_EQ(box.headline(), kImportFailed);
    EXPECT_NE(box.causeText().find("第50行D列（D50）是错误值"), std::string::npos) << box.text;
    EXPECT_NE(box.detail.find("#N/A"), std::string::npos) << box.detail;
    const auto texts = m_prompt.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), std::string(kImportDone)), 0);

    const auto after = storedExaminees();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_EQ(after[i].randomNumber, before[i].randomNumber);
    }
    EXPECT_EQ(gridRows(), gridBefore);
}

TEST_F(BaseDataImport, FormulasWithoutAStoredResultFailTheImportNamingTheCell)
{
    ASSERT_TRUE(importFrom(makeExaminees("first", 3)).succeeded);
    for (const char* name : {"basedata-formula-scores.xlsx", "basedata-formula-scores.xls"}) {
        SCOPED_TRACE(name);
        m_prompt.clear();
        EXPECT_FALSE(importFrom(fixturePath(name)).succeeded);
        ASSERT_FALSE(m_prompt.shown().empty());
        EXPECT_EQ(m_prompt.shown().back().style, PromptStyle::Error);
        EXPECT_NE(m_prompt.shown().back().detail.find("row 2, column 4: the formula has no stored result"),
                  std::string::npos)
            << m_prompt.shown().back().detail;
        EXPECT_EQ(storedExaminees().size(), 3u);
    }
}

TEST_F(BaseDataImport, UnreadableSourcesFailWithTheirCause)
{
    ASSERT_TRUE(importFrom(makeExaminees("first", 3)).succeeded);
    m_prompt.clear();

    EXPECT_FALSE(importFrom(m_dir.file("missing.xlsx")).succeeded);
    EXPECT_FALSE(importFrom(makeWorkbook("empty", {})).succeeded); // no cell at all
    // A name the cipher refuses (64k stored characters) would be stored empty.
    // Its warning comes first, then the failure naming its row.
    EXPECT_FALSE(importFrom(makeWorkbook("long", {{"h"}, {"甲", "1"}, {"乙", "2"}, {std::string(31000, 'a'), "3"}}))
                     .succeeded);
    ASSERT_GE(m_prompt.shown().size(), 3u);
    const auto& warning = m_prompt.shown()[m_prompt.shown().size() - 2];
    EXPECT_TRUE(warning.plain);
    EXPECT_NE(warning.text.find("larger than 64k"), std::string::npos);
    EXPECT_NE(m_prompt.shown().back().causeText().find("第4行"), std::string::npos)
        << m_prompt.shown().back().causeText();

    int failures = 0;
    for (const auto& box : m_prompt.shown()) {
        if (box.style != PromptStyle::Error)
            continue;
        ++failures;
        EXPECT_EQ(box.headline(), kImportFailed);
        EXPECT_FALSE(box.causeText().empty());
        EXPECT_FALSE(box.detail.empty());
    }
    EXPECT_EQ(failures, 3);
    EXPECT_EQ(storedExaminees().size(), 3u);
}

TEST_F(BaseDataImport, DatabaseFailureStopsBeforeTheWarningAndTheBar)
{
    const std::string path = makeExaminees("book", 3);
    store::SeatingDatabase unreachable(m_dir.file("missing/folder/data.mdb"));
    m_tab.sjlj = path;
    const ProgressState barBefore = m_tab.Prbar.state();

    EXPECT_FALSE(ImportBaseData(m_tab, unreachable, m_cipher, m_prompt).succeeded);

    ASSERT_EQ(m_prompt.shown().size(), 1u);
    EXPECT_EQ(m_prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(m_prompt.shown()[0].headline(), kImportFailed);
    EXPECT_FALSE(m_prompt.shown()[0].detail.empty());
    EXPECT_EQ(m_tab.Prbar.state().maximum, barBefore.maximum);
}

TEST_F(BaseDataImport, EmptyPathStopsBeforeAnythingElse)
{
    m_tab.sjlj = "   ";
    const ProgressState barBefore = m_tab.Prbar.state();

    EXPECT_FALSE(ImportBaseData(m_tab, m_database, m_cipher, m_prompt).succeeded);

    ASSERT_EQ(m_prompt.shown().size(), 1u);
    EXPECT_EQ(m_prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(m_prompt.shown()[0].text, kNoDataFile);
    EXPECT_EQ(m_tab.Prbar.state().maximum, barBefore.maximum);
    EXPECT_FALSE(std::filesystem::exists(m_database.filePath()));
}

// Its stand-in EXCEL.EXE is seen by every import running at the same time, so
// CTest runs it alone (tests/core/basedata/CMakeLists.txt), not among the rest.
TEST_F(BaseDataImport, DISABLED_AsksBeforeClosingARunningSpreadsheet)
{
    test::NamedChildProcess excel("EXCEL.EXE");
    ASSERT_EQ(FindProcessId("EXCEL.EXE"), std::to_string(excel.pid()));
    const std::string path = makeExaminees("book", 2);

    m_prompt.answerNext(PromptAnswer::No);
    ASSERT_TRUE(importFrom(path).succeeded);
    ASSERT_GE(m_prompt.shown().size(), 1u);
    EXPECT_EQ(m_prompt.shown()[0].style, PromptStyle::QuestionDefaultNo);
    EXPECT_EQ(m_prompt.shown()[0].text, "系统检测到正在运行Excel，为保证系统能正确导入数据，是否自动关闭Excel？");
    EXPECT_FALSE(excel.waitForExit(200));

    m_prompt.clear();
    m_prompt.answerNext(PromptAnswer::Yes);
    ASSERT_TRUE(importFrom(path).succeeded);
    EXPECT_EQ(m_prompt.texts(), (std::vector<std::string>{kExcelRunning, kDoNotOperateDuringImport, kImportDone}));
    EXPECT_TRUE(excel.waitForExit(5000));
}

TEST_F(BaseDataImport, LargeImportUpdatesProgressAndGridSparingly)
{
    int barChanges = 0;
    int lastValue = -1;
    bool decreasing = false;
    m_tab.Prbar.setListener([&](const ProgressState& state) {
        ++barChanges;
        decreasing = decreasing || state.value < lastValue;
        lastValue = state.value;
    });
    int gridChanges = 0;
    m_tab.sjgrid.setChangeListener([&] { ++gridChanges; });

    ASSERT_TRUE(importFrom(makeExaminees("many", 3000)).succeeded);

    EXPECT_EQ(gridChanges, 1);
    EXPECT_EQ(m_tab.sjgrid.Rows(), 3002);
    EXPECT_LE(barChanges, 250);
    EXPECT_GE(barChanges, 20);
    EXPECT_FALSE(decreasing);
    EXPECT_EQ(lastValue, 3001);
}

TEST(ChooseDataFile, PutsTheTrimmedChoiceIntoThePathBox)
{
    test::ScriptedDialogs dialogs;
    BaseDataTab tab;
    dialogs.nextFile("  /data/考生 名单.xlsx  ");
    ChooseDataFile(tab, dialogs);
    EXPECT_EQ(tab.sjlj, "/data/考生 名单.xlsx");
    EXPECT_EQ(dialogs.titles, std::vector<std::string>{kChooseDataFileTitle});

    ChooseDataFile(tab, dialogs); // cancelled
    EXPECT_EQ(tab.sjlj, "");
}
