#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "export/QueryExport.h"
#include "services/workbook/Workbook.h"
#include "store/Statements.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;
namespace fs = std::filesystem;

namespace {

constexpr const char* kDone = "所有考生查询数据导出完毕！";
constexpr const char* kDoNotOperate = "生成过程中请勿进行任何操作（更不能启动或打开任何Excel表）！";
constexpr const char* kNoExcel = "你的电脑可能没安装完整版的Excel！";
constexpr const char* kEmptyUnit = "基础数据单位为空，不能进行按单位分类导出查询数据！";
constexpr const char* kNoExaminees = "基础数据没导入数据库，请先导入数据库设置好各考室参数生成考室编排表后再生成！";

struct Examinee {
    std::string name;
    store::Field number;
    std::string unit;
    std::string room; // empty: not seated
};

using Rows = std::vector<std::vector<std::string>>;
const std::vector<std::string> kHeader{"姓名", "考号", "单位", "考室"};

class QueryExportTest : public ::testing::Test {
protected:
    QueryExportTest() : m_database(m_dir.file("data.mdb"))
    {
        m_database.setStatementLog([this](const std::string& sql) { m_statements.push_back(sql); });
        m_tab.cxdcscpro.setListener([this](const ProgressState& state) { m_statuses.push_back(state.status); });
        fs::create_directory(m_dir.path() / "out");
    }

    void addExaminees(const std::vector<Examinee>& examinees)
    {
        m_database.replaceSharedRecordset();
        m_database.OpenDataConnection();
        store::Recordset& rows = m_database.SharedRecordset();
        rows.open(store::sql::kSelectWorkingCopy, m_database.SharedConnection());
        int seat = 0;
        for (const Examinee& examinee : examinees) {
            rows.addNew();
            rows.setValue("姓名", examinee.name);
            rows.setValue("考号", examinee.number);
            rows.setValue("单位", examinee.unit);
            rows.setValue("成绩", std::string("60"));
            rows.setValue("随机号", 1.0 + seat);
            rows.setValue("考室", examinee.room);
            rows.setValue("座位号", examinee.room.empty() ? std::string() : std::to_string(++seat));
            rows.update();
        }
        m_database.closeAll();
        m_statements.clear();
    }

    int runExport(bool byUnit, const std::string& folderText)
    {
        m_tab.byUnit = byUnit;
        return exporting::ExportQueryWorkbooks(m_tab, folderText, m_database, m_prompt);
    }
    int runExport(bool byUnit) { return runExport(byUnit, outFolder()); }

    std::string outFolder() const { return (m_dir.path() / "out").string() + "/"; }
    fs::path outFile(const std::string& name) const { return m_dir.path() / "out" / (name + ".xlsx"); }
    std::vector<std::string> writtenFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir.path() / "out"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static Rows readBack(const fs::path& file)
    {
        const auto book = workbook::Workbook::open(file.string());
        const workbook::Worksheet& sheet = book->firstSheet();
        EXPECT_EQ(sheet.lastColumn(), 4);
        Rows rows;
        for (int row = 1; row <= sheet.lastRow(); ++row)
            rows.push_back({sheet.cellText(row, 1), sheet.cellText(row, 2), sheet.cellText(row, 3), sheet.cellText(row, 4)});
        return rows;
    }

    test::TempDir m_dir;
    store::SeatingDatabase m_database;
    exporting::ExportTab m_tab;
    test::ScriptedPrompt m_prompt;
    std::vector<std::string> m_statements;
    std::vector<std::string> m_statuses;
};

std::string counting(int n) { return "正在导出第" + std::to_string(n) + "位考生！"; }

} // namespace

TEST_F(QueryExportTest, OneWorkbookForEverybodyInDescendingRoomText)
{
    addExaminees({{" 张三 ", std::int64_t{20230001}, "一班", "第10考室"},
                  {"李四", std::string("A-002"), "二班", "第9考室"},
                  {"王五", std::string("A-003"), "", "第10考室"}});

    EXPECT_EQ(runExport(false), 1);

    EXPECT_EQ(m_statements, std::vector<std::string>{"select * from jcdatatp order by 考室 desc"});
    EXPECT_EQ(writtenFiles(), std::vector<std::string>{"所有考生查询数据导出.xlsx"});
    const Rows rows = readBack(outFile("所有考生查询数据导出"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], kHeader);
    // Text order: "第9" sorts after "第1", so descending puts 第9考室 first.
    EXPECT_EQ(rows[1], (std::vector<std::string>{"李四", "A-002", "二班", "第9考室"}));
    const std::set<std::vector<std::string>> tenth{rows[2], rows[3]};
    EXPECT_EQ(tenth, (std::set<std::vector<std::string>>{{" 张三 ", "20230001", "一班", "第10考室"},
                                                         {"王五", "A-003", "", "第10考室"}}));

    EXPECT_EQ(m_prompt.texts(), (std::vector<std::string>{kDoNotOperate, kDone}));
    EXPECT_EQ(m_prompt.shown()[0].style, PromptStyle::Information);
    EXPECT_EQ(m_prompt.shown()[1].style, PromptStyle::Information);
    EXPECT_NE(std::find(m_statuses.begin(), m_statuses.end(), counting(1)), m_statuses.end());
    EXPECT_NE(std::find(m_statuses.begin(), m_statuses.end(), counting(3)), m_statuses.end());
    const ProgressState last = m_tab.cxdcscpro.state();
    EXPECT_TRUE(last.visible);
    EXPECT_EQ(last.minimum, 1);
    EXPECT_EQ(last.maximum, 3);
    EXPECT_EQ(last.value, 3);
    EXPECT_EQ(last.status, kDone);
}

TEST_F(QueryExportTest, OneWorkbookPerUnitWithTheCounterRunningAcross)
{
    std::vector<Examinee> examinees;
    for (int i = 0; i < 60; ++i)
        examinees.push_back({"乙" + std::to_string(i), std::to_string(2000 + i), "二班", "第2考室"});
    for (int i = 0; i < 150; ++i)
        examinees.push_back({"甲" + std::to_string(i), std::to_string(1000 + i), "一班", "第1考室"});
    addExaminees(examinees);

    EXPECT_EQ(runExport(true), 2);

    EXPECT_EQ(m_statements, std::vector<std::string>{"select * from jcdatatp order by 单位"});
    EXPECT_EQ(writtenFiles(), (std::vector<std::string>{"一班.xlsx", "二班.xlsx"}));
    const Rows one = readBack(outFile("一班"));
    const Rows two = readBack(outFile("二班"));
    ASSERT_EQ(one.size(), 151u);
    ASSERT_EQ(two.size(), 61u);
    EXPECT_EQ(one.front(), kHeader);
    EXPECT_EQ(two.front(), kHeader);
    for (std::size_t r = 1; r < one.size(); ++r)
        EXPECT_EQ(one[r][2], "一班");
    for (std::size_t r = 1; r < two.size(); ++r)
        EXPECT_EQ(two[r][2], "二班");

    // Neither unit has 200 examinees: the counter ran on across the two.
    EXPECT_NE(std::find(m_statuses.begin(), m_statuses.end(), counting(200)), m_statuses.end());
    EXPECT_NE(std::find(m_statuses.begin(), m_statuses.end(), counting(210)), m_statuses.end());
    EXPECT_EQ(m_tab.cxdcscpro.state().value, 210);
    EXPECT_EQ(m_tab.cxdcscpro.state().status, kDone);
    EXPECT_EQ(m_prompt.texts(), (std::vector<std::string>{kDoNotOperate, kDone}));
}

TEST_F(QueryExportTest, ExamineesWithoutARoomAreLeftOut)
{
    addExaminees({{"甲1", std::string("1"), "甲", "第1考室"},
                  {"甲2", std::string("2"), "甲", ""},
                  {"乙1", std::string("3"), "乙", "第2考室"},
                  {"丙1", std::string("4"), "丙", " "}});

    // Per unit, later units still get their workbooks; a unit with nobody
    // seated gets none.
    EXPECT_EQ(runExport(true), 2);
    EXPECT_EQ(writtenFiles(), (std::vector<std::string>{"乙.xlsx", "甲.xlsx"}));
    EXPECT_EQ(readBack(outFile("甲")), (Rows{kHeader, {"甲1", "1", "甲", "第1考室"}}));
    EXPECT_EQ(readBack(outFile("乙")), (Rows{kHeader, {"乙1", "3", "乙", "第2考室"}}));
    EXPECT_EQ(m_tab.cxdcscpro.state().value, 4);
    // The closing message counts both, in both modes.
    const std::string leftOut = "查询数据导出完毕：导出了2位考生，另有2位考生因没有指定考室未导出！";
    EXPECT_EQ(m_prompt.shown().back().style, PromptStyle::Information);
    EXPECT_EQ(m_prompt.texts().back(), leftOut);
    EXPECT_EQ(m_tab.cxdcscpro.state().status, leftOut);

    EXPECT_EQ(runExport(false), 1);
    EXPECT_EQ(m_prompt.texts().back(), leftOut);
    const Rows all = readBack(outFile("所有考生查询数据导出"));
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1][0], "乙1");
    EXPECT_EQ(all[2][0], "甲1");
}

TEST_F(QueryExportTest, ExistingFileIsReplaced)
{
    addExaminees({{"甲1", std::string("1"), "甲", "第1考室"}});
    std::ofstream(outFile("所有考生查询数据导出")) << "an old file";

    EXPECT_EQ(runExport(false), 1);
    EXPECT_EQ(readBack(outFile("所有考生查询数据导出")), (Rows{kHeader, {"甲1", "1", "甲", "第1考室"}}));
}

TEST_F(QueryExportTest, EmptyUnitRefusesPerUnitButNotForEverybody)
{
    addExaminees({{"甲1", std::string("1"), "甲", "第1考室"}, {"无1", std::string("2"), "  ", "第1考室"}});

    EXPECT_EQ(runExport(true), 0);
    EXPECT_EQ(m_prompt.texts(), std::vector<std::string>{kEmptyUnit});
    EXPECT_EQ(m_prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_TRUE(writtenFiles().empty());
    EXPECT_FALSE(m_tab.cxdcscpro.state().visible);

    EXPECT_EQ(runExport(false), 1);
    const Rows all = readBack(outFile("所有考生查询数据导出"));
    ASSERT_EQ(all.size(), 3u);
    const auto& unitless = all[1][0] == "无1" ? all[1] : all[2];
    EXPECT_EQ(unitless[0], "无1");
    EXPECT_EQ(unitless[1], "2");
    EXPECT_NE(unitless[2], "甲");
    EXPECT_EQ(unitless[3], "第1考室");
}

TEST_F(QueryExportTest, UnsafeUnitNameFailsAndKeepsEarlierWorkbooks)
{
    addExaminees({{"甲1", std::string("1"), "A班", "第1考室"}, {"乙1", std::string("2"), "B/班", "第1考室"}});

    EXPECT_EQ(runExport(true), 1);

    EXPECT_EQ(writtenFiles(), std::vector<std::string>{"A班.xlsx"});
    ASSERT_EQ(m_prompt.headlines(), (std::vector<std::string>{kDoNotOperate, kNoExcel}));
    EXPECT_EQ(m_prompt.shown()[1].style, PromptStyle::Error);
    EXPECT_EQ(m_prompt.shown()[1].causeText(), "原因：“B/班”不能用作文件名。");
    EXPECT_NE(m_prompt.shown()[1].detail.find("B/班"), std::string::npos) << m_prompt.shown()[1].detail;
}

// The rows are written on other threads: a text too long for its cell must
// still stop the export at its unit, before that unit's workbook is begun.
TEST_F(QueryExportTest, ATextTooLongForACellStopsAtItsUnit)
{
    addExaminees({{"甲1", std::string("1"), "A班", "第1考室"},
                  {std::string(40000, 'x'), std::string("2"), "B班", "第1考室"},
                  {"丙1", std::string("3"), "C班", "第1考室"}});

    EXPECT_EQ(runExport(true), 1);

    EXPECT_EQ(writtenFiles(), std::vector<std::string>{"A班.xlsx"});
    ASSERT_EQ(m_prompt.headlines(), (std::vector<std::string>{kDoNotOperate, kNoExcel}));
    EXPECT_NE(m_prompt.shown()[1].causeText().find("（A2）"), std::string::npos) << m_prompt.shown()[1].causeText();
}

TEST_F(QueryExportTest, SaveFailureIsTheGeneralFailureWithItsCause)
{
    addExaminees({{"甲1", std::string("1"), "甲", "第1考室"}});

    EXPECT_EQ(runExport(false, (m_dir.path() / "missing").string() + "/"), 0);

    ASSERT_EQ(m_prompt.headlines().back(), kNoExcel);
    EXPECT_EQ(m_prompt.shown().back().causeText(), "原因：文件夹“" + (m_dir.path() / "missing").string() + "”不存在。");
    EXPECT_FALSE(m_prompt.shown().back().detail.empty());
    EXPECT_NE(m_tab.cxdcscpro.state().status, kDone);
}

TEST_F(QueryExportTest, FolderTextIsTrimmedAndNamesRunStraightOn)
{
    addExaminees({{"甲1", std::string("1"), "甲", "第1考室"}});

    EXPECT_EQ(runExport(true, "  " + (m_dir.path() / "out" / "查询").string() + " "), 1);
    EXPECT_TRUE(fs::exists(m_dir.path() / "out" / "查询甲.xlsx"));
    // A folder that exists is used as one, typed without its separator.
    EXPECT_EQ(runExport(true, " " + (m_dir.path() / "out").string()), 1);
    EXPECT_TRUE(fs::exists(outFile("甲")));
}

TEST_F(QueryExportTest, RefusalsBeforeAnyWorkbook)
{
    for (const bool byUnit : {true, false}) {
        m_prompt.clear();
        m_statements.clear();
        EXPECT_EQ(runExport(byUnit, "   "), 0);
        EXPECT_EQ(m_prompt.texts(), std::vector<std::string>{"没选择考室文件生成路径！"});
        EXPECT_TRUE(m_statements.empty());

        m_prompt.clear();
        EXPECT_EQ(runExport(byUnit), 0);
        EXPECT_EQ(m_prompt.texts(), std::vector<std::string>{kNoExaminees});
        EXPECT_EQ(m_prompt.shown()[0].style, PromptStyle::Error);
        EXPECT_FALSE(m_tab.cxdcscpro.state().visible);
    }
    EXPECT_TRUE(writtenFiles().empty());
}

TEST_F(QueryExportTest, AWorkbookNamedLikeARoomStopsTheExportBeforeAnyFile)
{
    // 一班 is both a unit and a room; 所有考生查询数据导出 is a room too.
    addExaminees({{"甲", std::string("1"), "A班", "第1考室"},
                  {"乙", std::string("2"), "一班", "一班"},
                  {"丙", std::string("3"), "C班", "所有考生查询数据导出"}});
    for (const char* room : {"一班", "所有考生查询数据导出"})
        std::ofstream(outFile(room)) << "seat chart";

    for (const bool byUnit : {true, false}) {
        SCOPED_TRACE(byUnit);
        EXPECT_EQ(runExport(byUnit), 0);
        EXPECT_EQ(writtenFiles(), (std::vector<std::string>{"一班.xlsx", "所有考生查询数据导出.xlsx"}));
        const auto& box = m_prompt.shown().back();
        EXPECT_EQ(box.style, PromptStyle::Error);
        EXPECT_EQ(box.text.rfind(kNoExcel, 0), 0u);
        const std::string room = byUnit ? "一班" : "所有考生查询数据导出";
        EXPECT_NE(box.detail.find("room workbook \"" + outFile(room).string()), std::string::npos) << box.detail;
    }
    for (const char* room : {"一班", "所有考生查询数据导出"}) {
        std::ifstream chart(outFile(room));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(chart), {}), "seat chart");
    }
}
