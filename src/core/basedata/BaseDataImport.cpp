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

// Closes the result set before the transaction guard rolls back, so that no
// statement is still pending on the connection.
class RecordsetCloser {
public:
    explicit RecordsetCloser(store::Recordset& records) : m_records(records) {}
    ~RecordsetCloser()
    {
        try {
            m_records.close();
        } catch (...) {
            // Closing after a failure; the failure itself is what gets reported.
        }
    }
    RecordsetCloser(const RecordsetCloser&) = delete;
    RecordsetCloser& operator=(const RecordsetCloser&) = delete;

private:
    store::Recordset& m_records;
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

std::string encryptedName(cipher::NameCipher& cipher, const std::string& name, int row)
{
    std::string stored;
    try {
        stored = cipher.EncryptName(name);
    } catch (const std::exception& failure) {
        throw std::runtime_error("row " + std::to_string(row) + ", column A: " + failure.what());
    }
    // The cipher refuses names of 64k stored characters and more with an empty
    // text; storing that would lose the name.
    if (stored.empty())
        throw std::runtime_error("row " + std::to_string(row) + ", column A: the name is too long to be stored");
    return stored;
}

int importRows(BaseDataTab& tab, store::SeatingDatabase& database, cipher::NameCipher& cipher, Prompt& prompt,
               const ImportSettings& settings)
{
    const store::DatabaseHold hold = database.hold(store::LockMode::Exclusive);
    const ExamineeList list = readExamineeList(trimSpaces(tab.sjlj));

    // The database comes before the row count and the warning: a database that
    // cannot be opened stops the import before the user is told to wait.
    database.replaceSharedRecordset();
    database.OpenDataConnection();
    store::Connection& connection = database.SharedConnection();
    store::Transaction transaction(connection);
    connection.execute(store::sql::kDeleteBaseData);
    store::Recordset& records = database.SharedRecordset();
    RecordsetCloser closer(records);
    records.open(store::sql::kSelectBaseData, connection);

    const int lastRow = list.lastRow;
    tab.Prbar.setRange(tab.Prbar.state().minimum, lastRow);
    prompt.inform(kDoNotOperateDuringImport);
    RandomNumbers random(settings.seed, lastRow);

    std::vector<ExamineeGrid::Row> grid{ExamineeGrid::kHeaders};
    ThrottledProgress progress(tab.Prbar, lastRow);
    grid.reserve(list.size() + 2);
    for (std::size_t examinee = 0; examinee < list.size(); ++examinee) {
        const int count = static_cast<int>(examinee) + 1;
        const int row = count + 1;
        const std::string name(list.cell(examinee, 0));
        const std::string score(list.cell(examinee, 3));
        records.addNew();
        records.setValue("姓名", encryptedName(cipher, name, row));
        records.setValue("考号", std::string(list.cell(examinee, 1)));
        records.setValue("单位", std::string(list.cell(examinee, 2)));
        records.setValue("成绩", score.empty() ? std::string("0") : score);
        records.setValue("随机号", random.next());
        records.update();
        grid.push_back({std::to_string(count), name, std::string(list.cell(examinee, 1)),
                        std::string(list.cell(examinee, 2)), score});
        progress.rowRead(row);
    }
    records.close();
    transaction.commit();

    tab.Prbar.setMaximumValue();
    grid.push_back({" ", "", "", "", ""});
    tab.sjgrid.assign(std::move(grid));
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
    } catch (const std::exception& failure) {
        prompt.error(kImportFailed, failure.what());
        return {};
    } catch (...) {
        prompt.error(kImportFailed, "unknown failure");
        return {};
    }
    prompt.inform(kImportDone);
    return {true, imported};
}

} // namespace sedilo::basedata
