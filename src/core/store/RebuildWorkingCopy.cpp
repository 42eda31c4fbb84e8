#include "store/RebuildWorkingCopy.h"

#include <algorithm>
#include <array>
#include <future>
#include <vector>

#include "services/cipher/NameCipher.h"
#include "services/cipher/ParallelNames.h"
#include "services/text/Trim.h"
#include "services/threads/WorkerPool.h"
#include "store/MultiRowInsert.h"
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

using SourceRow = std::array<Field, 5>;

// The base data a chunk at a time. A row that cannot be read ends the
// reading: the rows read before it are kept, and its failure waits for
// rethrowFailure(), once they are written.
class ChunkReader {
public:
    explicit ChunkReader(Connection& connection)
        : m_select(connection.handle(), sql::kReadBaseData, connection.filePath())
    {
    }

    // Returns false when no row follows the chunk.
    bool read(std::vector<SourceRow>& rows)
    {
        rows.clear();
        rows.reserve(kRowsPerChunk);
        bool more = true;
        try {
            while (rows.size() < kRowsPerChunk && (more = m_select.step()))
                rows.push_back({m_select.column(0), m_select.column(1), m_select.column(2), m_select.column(3),
                                m_select.column(4)});
        } catch (...) {
            m_failure = std::current_exception();
            more = false;
        }
        return more;
    }

    void rethrowFailure() const
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    SqliteStatement m_select;
    std::exception_ptr m_failure;
};

// The rows of one chunk, kRowsPerInsert to a statement. Where a name cannot
// be read or a statement of many rows fails, the rows are written one by one
// from its first, so that every row before the failing one is written, as
// with a row-by-row copy.
class ChunkWriter {
public:
    explicit ChunkWriter(Connection& connection)
        : m_one(connection.handle(), sql::kInsertWorkingCopy, connection.filePath()),
          m_many(connection.handle(), insertOfRows(sql::kInsertWorkingCopy, kRowsPerInsert), connection.filePath())
    {
    }

    void write(const std::vector<SourceRow>& rows, cipher::ParallelNames::Batch& plain)
    {
        std::size_t row = 0;
        for (; rows.size() - row >= kRowsPerInsert; row += kRowsPerInsert)
            writeMany(rows, plain, row);
        for (; row < rows.size(); ++row)
            writeOne(rows[row], plain.take(row));
    }

    std::size_t written() const { return m_written; }

private:
    void writeMany(const std::vector<SourceRow>& rows, cipher::ParallelNames::Batch& plain, std::size_t first)
    {
        std::size_t named = 0;
        try {
            for (; named < kRowsPerInsert; ++named)
                m_names[named].assign(plain.take(first + named));
        } catch (...) {
            for (std::size_t slot = 0; slot < named; ++slot)
                writeOne(rows[first + slot], m_names[slot]);
            throw;
        }
        try {
            for (std::size_t slot = 0; slot < kRowsPerInsert; ++slot) {
                const int parameter = static_cast<int>(slot) * 5;
                // The chunk and the names stay until the step: nothing is copied.
                m_many.bindTextInPlace(parameter + 1, m_names[slot]);
                for (int column = 1; column < 5; ++column)
                    m_many.bindInPlace(parameter + column + 1, rows[first + slot][static_cast<std::size_t>(column)]);
            }
            m_many.step();
            m_many.rewind();
        } catch (...) {
            // One by one, the failing row fails again, after those before it.
            m_many.reset();
            for (std::size_t slot = 0; slot < kRowsPerInsert; ++slot)
                writeOne(rows[first + slot], m_names[slot]);
            return;
        }
        m_written += kRowsPerInsert;
    }

    void writeOne(const SourceRow& row, std::string_view name)
    {
        m_one.bindText(1, name);
        for (int column = 1; column < 5; ++column)
            m_one.bind(column + 1, row[static_cast<std::size_t>(column)]);
        m_one.step();
        m_one.reset();
        ++m_written;
    }

    SqliteStatement m_one;
    SqliteStatement m_many;
    std::array<std::string, kRowsPerInsert> m_names;
    std::size_t m_written = 0;
};

} // namespace

std::size_t RebuildWorkingCopy(SeatingDatabase& database, cipher::NameCipher& names)
{
    std::size_t copied = 0;
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
        ChunkReader reader(connection);
        connection.logStatement(sql::kInsertWorkingCopy);
        ChunkWriter writer(connection);
        cipher::ParallelNames decryption(names);
        // While one chunk is decrypted on other threads, this one reads the
        // next and writes the one before.
        std::array<std::vector<SourceRow>, 2> chunks;
        WorkerPool ahead(1); // after the chunks: its decryption is done before they go
        std::future<cipher::ParallelNames::Batch> decrypting;
        const auto decryptAhead = [&](const std::vector<SourceRow>& rows) {
            decrypting = ahead.submit([&decryption, &rows] {
                return decryption.run(rows.size(), [&rows](cipher::NameCipher& cipher, std::size_t row) {
                    return plainName(cipher.DecryptName(fieldText(rows[row][0])));
                });
            });
        };
        std::size_t current = 0;
        bool more = reader.read(chunks[current]);
        decryptAhead(chunks[current]);
        for (;;) {
            const bool last = !more;
            const std::size_t next = 1 - current;
            if (!last)
                more = reader.read(chunks[next]);
            cipher::ParallelNames::Batch plain = decrypting.get();
            if (!last)
                decryptAhead(chunks[next]);
            writer.write(chunks[current], plain);
            copied = writer.written();
            if (last)
                break;
            current = next;
        }
        reader.rethrowFailure();
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
    return copied;
}

} // namespace sedilo::store
