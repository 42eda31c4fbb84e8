#include "basedata/BaseDataImport.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <future>
#include <optional>
#include <random>
#include <stdexcept>

#include "basedata/ExamineeListReader.h"
#include "services/cipher/NameCipher.h"
#include "services/cipher/ParallelNames.h"
#include "services/threads/WorkerPool.h"
#include "services/ShellFolders.h"
#include "services/process/ProcessControl.h"
#include "services/text/Trim.h"
#include "store/MultiRowInsert.h"
#include "store/SeatingDatabase.h"
#include "store/SqliteStatement.h"
#include "store/Statements.h"

namespace sedilo::basedata {

namespace {

using store::kRowsPerInsert;

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

// Examinees whose names are encrypted at a time. The names of the next
// examinees are encrypted on the other cores while these are inserted.
constexpr std::size_t kNamesPerBatch = 8192;

class EncryptedNames {
public:
    EncryptedNames(cipher::NameCipher& names, const ExamineeList& list, const std::string& path)
        : m_cipher(names), m_list(list), m_path(path)
    {
        m_next = encryptFrom(0);
    }

    // The stored name of `examinee`, for every examinee in order; throws at the
    // first name that cannot be stored, after the warnings its cipher showed.
    std::string_view take(std::size_t examinee)
    {
        if (examinee == m_batchEnd) {
            m_batch = m_next.get();
            m_batchStart = examinee;
            m_batchEnd = examinee + m_batch.size();
            if (m_batchEnd < m_list.size())
                m_next = encryptFrom(m_batchEnd);
        }
        return m_batch.take(examinee - m_batchStart);
    }

private:
    std::future<cipher::ParallelNames::Batch> encryptFrom(std::size_t first)
    {
        const std::size_t count = std::min(kNamesPerBatch, m_list.size() - first);
        return m_ahead.submit([this, first, count] {
            return m_cipher.run(count, [this, first](cipher::NameCipher& cipher, std::size_t index) {
                const std::size_t examinee = first + index;
                return encryptedName(cipher, std::string(m_list.cell(examinee, 0)), m_path,
                                     static_cast<int>(examinee) + 2);
            });
        });
    }

    cipher::ParallelNames m_cipher;
    const ExamineeList& m_list;
    const std::string& m_path;
    cipher::ParallelNames::Batch m_batch;
    std::size_t m_batchStart = 0;
    std::size_t m_batchEnd = 0;
    std::future<cipher::ParallelNames::Batch> m_next;
    WorkerPool m_ahead{1}; // last: its batch is done before the rest goes
};

int importRows(BaseDataTab& tab, store::SeatingDatabase& database, cipher::NameCipher& cipher, Prompt& prompt,
               const ImportSettings& settings)
{
    const store::DatabaseHold hold = database.hold(store::LockMode::Exclusive);
    const std::string path = trimSpaces(tab.sjlj);
    auto examinees = std::make_shared<const ExamineeList>(readExamineeList(path));
    const ExamineeList& list = *examinees;
    std::optional<EncryptedNames> names;
    if (list.size() > 0)
        names.emplace(cipher, list, path);

    // The database comes before the row count and the warning: a database that
    // cannot be opened stops the import before the user is told to wait.
    database.replaceSharedRecordset();
    database.OpenDataConnection();
    store::Connection& connection = database.SharedConnection();
    store::Transaction transaction(connection);
    connection.execute(store::sql::kDeleteBaseData);
    connection.logStatement(store::sql::kInsertBaseData);
    store::SqliteStatement insertOne(connection.handle(), store::sql::kInsertBaseData, connection.filePath());
    store::SqliteStatement insertMany;
    if (list.size() >= kRowsPerInsert)
        insertMany = store::SqliteStatement(
            connection.handle(), store::insertOfRows(store::sql::kInsertBaseData, kRowsPerInsert), connection.filePath());

    const int lastRow = list.lastRow;
    tab.Prbar.setRange(tab.Prbar.state().minimum, lastRow);
    prompt.inform(kDoNotOperateDuringImport);
    RandomNumbers random(settings.seed, lastRow);

    ThrottledProgress progress(tab.Prbar, lastRow);
    std::array<std::string, kRowsPerInsert> storedNames;
    for (std::size_t examinee = 0; examinee < list.size();) {
        const std::size_t rows = list.size() - examinee >= kRowsPerInsert ? kRowsPerInsert : 1;
        store::SqliteStatement& insert = rows == 1 ? insertOne : insertMany;
        // Every value is bound anew for each statement, and the texts stay
        // put until its rows are written.
        for (std::size_t slot = 0; slot < rows; ++slot, ++examinee) {
            const int row = static_cast<int>(examinee) + 2;
            const int first = static_cast<int>(slot) * 5;
            const std::string_view score = list.cell(examinee, 3);
            storedNames[slot].assign(names->take(examinee)); // into the room the slot's last name had
            insert.bindTextInPlace(first + 1, storedNames[slot]);
            insert.bindTextInPlace(first + 2, list.cell(examinee, 1));
            insert.bindTextInPlace(first + 3, list.cell(examinee, 2));
            insert.bindTextInPlace(first + 4, score.empty() ? std::string_view("0") : score);
            insert.bind(first + 5, random.next());
            progress.rowRead(row);
        }
        insert.step();
        insert.rewind();
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
