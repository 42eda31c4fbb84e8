#include "basedata/BaseDataImport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <stdexcept>

#include "basedata/ExamineeListReader.h"
#include "services/cipher/NameCipher.h"
#include "services/ShellFolders.h"
#include "services/process/ProcessControl.h"
#include "services/text/Trim.h"
#include "store/SeatingDatabase.h"
#include "store/SqliteStatement.h"
#include "store/Statements.h"

namespace sedilo::basedata {

namespace {

// The examinees' random numbers floor(u × M) + 1, u uniform in [0, 1).
class RandomNumbers {
public:
    RandomNumbers(std::optional<std::uint64_t> seed, int lastRow)
        : m_engine(seed ? *seed : clockSeed()), m_lastRow(lastRow)
    {
    }

    double next()
    {
        // 53 random bits give u in [0, 1) exactly; the library's real
        // distributions may round up to 1.
        const double u = static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
        return std::min(std::floor(u * m_lastRow) + 1.0, static_cast<double>(m_lastRow));
    }

private:
    static std::uint64_t clockSeed()
    {
        return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    }

    std::mt19937_64 m_engine;
    int m_lastRow;
};

// Moves the progress bar a few hundred times at most, whatever the row count.
class ThrottledProgress {
public:
    ThrottledProgress(ProgressControl& bar, int rows) : m_bar(bar), m_step(std::max(1, rows / 200)) {}

    void rowRead(int row)
    {
        if (row % m_step == 0)
            m_bar.setValue(row);
    }

private:
    ProgressControl& m_bar;
    int m_step;
};

// The user decides: terminating a program unasked would throw away its unsaved
// work, and the workbook reader here needs no program closed.
void offerToCloseRunningSpreadsheet(Prompt& prompt)
{
    const std::string found = FindProcessId("EXCEL.EXE");
    const unsigned long pid = found.empty() ? 0 : std::stoul(found);
    if (pid != 0 && prompt.askDefaultNo(kExcelRunning))
        KillProcess(static_cast<std::uint32_t>(pid)); // a failure is silent
}

std::string encryptedName(cipher::NameCipher& cipher, const std::string& name, const std::string& path, int row)
{
    std::string stored;
    try {
        stored = cipher.EncryptName(name);
    } catch (const std::exception& failure) {
        throw Failure({.kind = CauseKind::NameNotStorable, .file = path, .row = row, .column = 1,
                       .detail = failure.what()});
    }
    // The cipher refuses names of 64k stored characters and more with an empty
    // text; storing that would lose the name.
    if (stored.empty())
        throw Failure({.kind = CauseKind::TextTooLong, .file = path, .row = row, .column = 1,
                       .detail = "the name is too long to be stored"});
    return stored;
}

int importRows(BaseDataTab& tab, store::SeatingDatabase& database, cipher::NameCipher& cipher, Prompt& prompt,
               const ImportSettings& settings)
{
    const store::DatabaseHold hold = database.hold(store::LockMode::Exclusive);
    const std::string path = trimSpaces(tab.sjlj);
    auto examinees = std::make_shared<const ExamineeList>(readExamineeList(path));
    const ExamineeList& list = *examinees;

    // The database comes before the row count and the warning: a database that
    // cannot be opened stops the import before the user is told to wait.
    database.replaceSharedRecordset();
    database.OpenDataConnection();
    store::Connection& connection = database.SharedConnection();
    store::Transaction transaction(connection);
    connection.execute(store::sql::kDeleteBaseData);
    connection.logStatement(store::sql::kInsertBaseData);
    store::SqliteStatement insert(connection.handle(), store::sql::kInsertBaseData, connection.filePath());

    const int lastRow = list.lastRow;
    tab.Prbar.setRange(tab.Prbar.state().minimum, lastRow);
    prompt.inform(kDoNotOperateDuringImport);
    RandomNumbers random(settings.seed, lastRow);

    ThrottledProgress progress(tab.Prbar, lastRow);
    for (std::size_t examinee = 0; examinee < list.size(); ++examinee) {
        const int row = static_cast<int>(examinee) + 2;
        const std::string_view score = list.cell(examinee, 3);
        insert.bindText(1, encryptedName(cipher, std::string(list.cell(examinee, 0)), path, row));
        insert.bindText(2, list.cell(examinee, 1));
        insert.bindText(3, list.cell(examinee, 2));
        insert.bindText(4, score.empty() ? std::string_view("0") : score);
        insert.bind(5, random.next());
        insert.step();
        insert.reset();
        progress.rowRead(row);
    }
    transaction.commit();

    tab.Prbar.setMaximumValue();
    tab.sjgrid.assign(std::move(examinees));
    return static_cast<int>(list.size());
}

} // namespace

void ChooseDataFile(BaseDataTab& tab, ShellDialogs& dialogs)
{
    try {
        tab.sjlj = ChooseExcelFile(dialogs, kChooseDataFileTitle);
    } catch (...) {
        // Choosing has no message of its own; the path box keeps its text.
    }
}

ImportOutcome ImportBaseData(BaseDataTab& tab, store::SeatingDatabase& database, cipher::NameCipher& cipher,
                             Prompt& prompt, const ImportSettings& settings)
{
    if (trimSpaces(tab.sjlj).empty()) {
        prompt.error(kNoDataFile);
        return {};
    }
    int imported = 0;
    try {
        offerToCloseRunningSpreadsheet(prompt);
        imported = importRows(tab, database, cipher, prompt, settings);
    } catch (...) {
        prompt.fail(kImportFailed, CauseOf(std::current_exception()));
        return {};
    }
    prompt.inform(kImportDone);
    return {true, imported};
}

} // namespace sedilo::basedata
