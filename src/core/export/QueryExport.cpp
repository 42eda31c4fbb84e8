#include "export/QueryExport.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <thread>
#include <unordered_set>

#include "export/BackgroundSaves.h"
#include "export/ExportProgress.h"
#include "export/ExportRows.h"
#include "export/OutputCollision.h"
#include "export/QueryWorkbook.h"
#include "services/Messages.h"
#include "services/failure/Failure.h"
#include "services/ShellFolders.h"
#include "services/text/FileNameRule.h"
#include "services/text/Trim.h"
#include "store/SelectedRows.h"
#include "store/Statements.h"

namespace sedilo::exporting {

namespace {

constexpr const char* kEmptyUnit = "基础数据单位为空，不能进行按单位分类导出查询数据！";
constexpr const char* kNoExaminees =
    "基础数据没导入数据库，请先导入数据库设置好各考室参数生成考室编排表后再生成！";
constexpr const char* kExportDone = "所有考生查询数据导出完毕！";

// One click's export. Keeps the count of saved workbooks so that a failure
// part-way can still report it.
class QueryExportRun {
public:
    QueryExportRun(ExportTab& tab, std::string folder, Prompt& prompt)
        : m_tab(tab), m_folder(std::move(folder)), m_prompt(prompt) {}

    void execute(store::SeatingDatabase& database);
    // The same export from the arranged rows themselves, in rowid order.
    void execute(store::SelectedRows arranged);
    int savedCount() const { return m_saves.succeeded(); }

private:
    // `release` lets go of where the rows came from, once they are written
    // or refused.
    void exportSelected(store::SelectedRows selected, const std::function<void()>& release);
    void refuseCollisions() const;
    // Returns the number of examinees written.
    long exportRows();
    void exportEach(ExportProgress& counter, long& exported);
    void begin(const std::string& fileName, std::size_t firstRow);
    void finish();

    ExportTab& m_tab;
    const std::string m_folder;
    Prompt& m_prompt;
    std::unique_ptr<QueryWorkbook> m_open;
    std::string m_openName;
    std::set<std::string> m_savedNames;
    // The workbooks being saved write their rows straight from here.
    ExportRows m_rows;
    // Declared last: it is gone first, waiting for the saves still running.
    BackgroundSaves m_saves{std::max(1u, std::thread::hardware_concurrency())};
};

void QueryExportRun::execute(store::SeatingDatabase& database)
{
    if (m_folder.empty()) {
        m_prompt.error(messages::kNoOutputFolder);
        return;
    }
    const store::DatabaseHold hold = database.hold(store::LockMode::Shared);
    database.replaceSharedRecordset();
    database.OpenDataConnection();
    // Read once and kept compact: the collision check and the workbooks both
    // walk the seated examinees, and a recordset would hold every column.
    store::SelectedRows selected = store::readSelectedRows(
        database.SharedConnection(), m_tab.byUnit ? store::sql::kOrderByUnit : store::sql::kOrderByRoomDesc,
        {"姓名", "考号", "单位", "考室"});
    exportSelected(std::move(selected), [&] { database.closeAll(); });
}

void QueryExportRun::execute(store::SelectedRows arranged)
{
    if (m_folder.empty()) {
        m_prompt.error(messages::kNoOutputFolder);
        return;
    }
    // Both columns are plain text, ordered byte by byte.
    if (m_tab.byUnit)
        store::sortByText(arranged, ExportRows::Unit, store::OrderedValues::Collation::Binary, false);
    else
        store::sortByText(arranged, ExportRows::Room, store::OrderedValues::Collation::Binary, true);
    exportSelected(std::move(arranged), [] {});
}

void QueryExportRun::exportSelected(store::SelectedRows selected, const std::function<void()>& release)
{
    const long examinees = static_cast<long>(selected.size());
    const bool firstUnitEmpty = examinees > 0 && onlySpaces(selected.text(0, ExportRows::Unit));
    // An examinee without a room is passed over rather than ending the
    // export: in unit order the seated examinees of later units follow.
    m_rows = ExportRows(std::move(selected));

    // Empty units sort first, so the first row tells whether any unit is empty.
    if (m_tab.byUnit && examinees > 0 && firstUnitEmpty) {
        m_prompt.error(kEmptyUnit);
        release();
        return;
    }
    if (examinees <= 0) {
        m_prompt.error(kNoExaminees);
        release();
        return;
    }

    refuseCollisions();

    ProgressControl& progress = m_tab.cxdcscpro;
    progress.setRange(1, static_cast<int>(std::min<long>(examinees, INT_MAX)));
    m_prompt.inform(messages::kDoNotOperate);
    progress.setVisible(true);

    const long exported = exportRows();
    release();
    progress.setMaximumValue();
    // Saying only "all exported" when examinees had no room would hide them.
    const std::string done = exported < examinees ? messages::exportLeftOut(exported, examinees - exported)
                                                  : std::string(kExportDone);
    progress.setStatus(done);
    m_prompt.inform(done);
}

// Units are named after classes and rooms after classrooms: a unit's query
// workbook must not replace the seat chart of the room of the same name. All
// names are checked before the first workbook is written.
void QueryExportRun::refuseCollisions() const
{
    const ExportRows& rows = m_rows;
    // A city has a hundred thousand rows but a few thousand rooms and units.
    std::unordered_set<std::string_view> roomsSeen;
    std::unordered_set<std::string_view> unitsSeen;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        roomsSeen.insert(rows.text(row, ExportRows::Room));
        if (m_tab.byUnit)
            unitsSeen.insert(rows.text(row, ExportRows::Unit));
    }
    const std::set<std::string> rooms(roomsSeen.begin(), roomsSeen.end());
    std::set<std::string> units;
    for (const std::string_view unit : unitsSeen)
        units.insert(trimSpaces(unit));
    OutputCollision collision(m_folder);
    collision.protectRoomWorkbooks(rooms);
    if (!m_tab.byUnit)
        collision.refuse(kAllExamineesFileName);
    for (const std::string& unit : units)
        collision.refuse(unit, true);
}

long QueryExportRun::exportRows()
{
    long exported = 0;
    ExportProgress counter(m_tab.cxdcscpro);
    try {
        exportEach(counter, exported);
    } catch (...) {
        m_saves.finishAll(std::current_exception());
    }
    m_saves.finishAll();
    return exported;
}

void QueryExportRun::exportEach(ExportProgress& counter, long& exported)
{
    if (!m_tab.byUnit)
        begin(kAllExamineesFileName, 0);
    std::string_view unit;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        // A unit's workbook is begun at its first seated examinee, so a unit
        // without any gets none.
        if (m_tab.byUnit && (!m_open || m_rows.text(row, ExportRows::Unit) != unit)) {
            unit = m_rows.text(row, ExportRows::Unit);
            const std::string unitName = trimSpaces(unit);
            if (!m_open || unitName != m_openName) {
                finish();
                begin(unitName, row);
            }
        }
        m_open->appendNext();
        counter.count();
        ++exported;
    }
    counter.flush();
    finish();
}

void QueryExportRun::begin(const std::string& fileName, std::size_t firstRow)
{
    if (const std::string reason = unsafeFileNameReason(fileName); !reason.empty())
        throw Failure({.kind = CauseKind::NotAFileName, .name = fileName, .unit = fileName,
                       .detail = "cannot name a query workbook after the unit: " + reason});
    // Units equal after trimming but apart in unit order would overwrite the
    // first workbook with the second one.
    if (m_savedNames.count(fileName))
        throw Failure({.kind = CauseKind::UnitsShareFileName, .unit = fileName,
                       .detail = "the unit comes apart from its other examinees in unit order; its query "
                                 "workbook was already written and would be replaced"});
    m_open = std::make_unique<QueryWorkbook>(m_rows, firstRow);
    m_openName = fileName;
}

void QueryExportRun::finish()
{
    if (!m_open)
        return;
    m_savedNames.insert(m_openName);
    m_saves.begin([book = std::shared_ptr<QueryWorkbook>(std::move(m_open)), path = m_folder + m_openName] {
        book->saveAs(path);
    });
}

} // namespace

int ExportQueryWorkbooks(ExportTab& tab, const std::string& ksoutpathText,
                         store::SeatingDatabase& database, Prompt& prompt)
{
    tab.cxdcscpro.setVisible(false);
    QueryExportRun run(tab, OutputFolderText(ksoutpathText), prompt);
    Cause cause;
    try {
        run.execute(database);
        return run.savedCount();
    } catch (...) {
        cause = CauseOf(std::current_exception());
    }
    try {
        database.closeAll();
    } catch (...) {
        // The failure already being reported is the one that matters.
    }
    prompt.fail(messages::kNoExcel, cause);
    return run.savedCount();
}

int ExportQueryWorkbooks(ExportTab& tab, const std::string& ksoutpathText, store::SelectedRows arranged,
                         Prompt& prompt)
{
    tab.cxdcscpro.setVisible(false);
    QueryExportRun run(tab, OutputFolderText(ksoutpathText), prompt);
    try {
        run.execute(std::move(arranged));
    } catch (...) {
        prompt.fail(messages::kNoExcel, CauseOf(std::current_exception()));
    }
    return run.savedCount();
}

} // namespace sedilo::exporting
