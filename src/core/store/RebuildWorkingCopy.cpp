#include "store/RebuildWorkingCopy.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "services/cipher/NameCipher.h"
#include "services/text/Trim.h"
#include "store/SeatingDatabase.h"
#include "store/SqliteStatement.h"
#include "store/Statements.h"

namespace sedilo::store {

namespace {

// Rows read, decrypted and written at a time: enough to keep every core busy,
// few enough that the rebuild's memory does not grow with the examinees.
constexpr std::size_t kRowsPerChunk = 8192;

// DecryptName pads the name with U+0000 up to the cipher block.
std::string plainName(const std::string& decrypted)
{
    const std::string trimmed = trimSpaces(decrypted);
    return trimmed.substr(0, trimmed.find('\0'));
}

// The cipher's warnings on a worker thread, kept with the row they concern
// so that they reach the user in row order, from the calling thread.
class RecordingPrompt final : public Prompt {
public:
    struct Shown {
        std::size_t row;
        std::string text;
        bool informationIcon;
    };

    PromptAnswer show(PromptStyle style, const std::string& text, const std::string&) override
    {
        m_shown.push_back({row, text, style == PromptStyle::Information});
        return PromptAnswer::Ok;
    }
    void showPlain(const std::string& text, bool informationIcon) override
    {
        m_shown.push_back({row, text, informationIcon});
    }

    std::vector<Shown>& shown() { return m_shown; }
    std::size_t row = 0;

private:
    std::vector<Shown> m_shown;
};

// One decrypting thread's own cipher: the cipher is pure, but its buffers
// and converter are not to be shared.
struct Decryptor {
    explicit Decryptor(const cipher::NameCipher& source) : cipher(prompt) { cipher.setPassPhrase(source.passPhrase()); }

    RecordingPrompt prompt;
    cipher::NameCipher cipher;
    std::exception_ptr failure;
    std::size_t failedRow = 0;
};

using SourceRow = std::array<Field, 5>;

class ParallelDecryption {
public:
    explicit ParallelDecryption(const cipher::NameCipher& names) : m_prompt(names.prompt())
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < cores; ++i)
            m_decryptors.push_back(std::make_unique<Decryptor>(names));
    }

    // The plain names of `rows`, decrypted on every core; warnings and the
    // first failure as decrypting them one after another would give them.
    std::vector<std::string> names(const std::vector<SourceRow>& rows)
    {
        std::vector<std::string> plain(rows.size());
        const std::size_t stride = m_decryptors.size();
        const auto work = [&](std::size_t first) {
            Decryptor& decryptor = *m_decryptors[first];
            for (std::size_t row = first; row < rows.size(); row += stride) {
                decryptor.prompt.row = row;
                try {
                    plain[row] = plainName(decryptor.cipher.DecryptName(fieldText(rows[row][0])));
                } catch (...) {
                    decryptor.failure = std::current_exception();
                    decryptor.failedRow = row;
                    return;
                }
            }
        };
        {
            std::vector<std::jthread> helpers;
            for (std::size_t first = 1; first < std::min(stride, rows.size()); ++first)
                helpers.emplace_back(work, first);
            work(0);
        }
        replay();
        return plain;
    }

private:
    void replay()
    {
        std::vector<RecordingPrompt::Shown> shown;
        const Decryptor* failed = nullptr;
        for (const auto& decryptor : m_decryptors) {
            auto& own = decryptor->prompt.shown();
            std::move(own.begin(), own.end(), std::back_inserter(shown));
            own.clear();
            if (decryptor->failure && (!failed || decryptor->failedRow < failed->failedRow))
                failed = decryptor.get();
        }
        std::stable_sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) { return a.row < b.row; });
        for (const auto& box : shown) {
            if (failed && box.row > failed->failedRow)
                break;
            m_prompt.showPlain(box.text, box.informationIcon);
        }
        if (failed)
            std::rethrow_exception(failed->failure);
    }

    Prompt& m_prompt;
    std::vector<std::unique_ptr<Decryptor>> m_decryptors;
};

} // namespace

void RebuildWorkingCopy(SeatingDatabase& database, cipher::NameCipher& names)
{
    database.replaceSharedRecordset();
    database.replaceCopyRecordset();
    database.OpenDataConnection();
    Connection& connection = database.SharedConnection();
    // One transaction for the whole copy, committed on a failure too: what
    // was written before it stays, as with a row-by-row copy.
    connection.beginTransaction();
    try {
        connection.execute(sql::kDeleteWorkingCopy);
        connection.logStatement(sql::kReadBaseData);
        SqliteStatement select(connection.handle(), sql::kReadBaseData, connection.filePath());
        connection.logStatement(sql::kInsertWorkingCopy);
        SqliteStatement insert(connection.handle(), sql::kInsertWorkingCopy, connection.filePath());
        ParallelDecryption decryption(names);
        std::vector<SourceRow> rows;
        rows.reserve(kRowsPerChunk);
        bool more = true;
        while (more) {
            rows.clear();
            while (rows.size() < kRowsPerChunk && (more = select.step()))
                rows.push_back({select.column(0), select.column(1), select.column(2), select.column(3),
                                select.column(4)});
            const std::vector<std::string> plain = decryption.names(rows);
            for (std::size_t row = 0; row < rows.size(); ++row) {
                insert.bind(1, plain[row]);
                for (int column = 1; column < 5; ++column)
                    insert.bind(column + 1, rows[row][static_cast<std::size_t>(column)]);
                insert.step();
                insert.reset();
            }
        }
    } catch (...) {
        try {
            connection.commit();
        } catch (...) {
            // The first failure is the one to report.
        }
        database.SharedConnection().close();
        throw;
    }
    connection.commit();
    connection.close();
}

} // namespace sedilo::store
