#include "store/RebuildWorkingCopy.h"

#include <algorithm>
#include <array>
#include <vector>

#include "services/cipher/NameCipher.h"
#include "services/cipher/ParallelNames.h"
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

using SourceRow = std::array<Field, 5>;

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
        SqliteStatement select(connection.handle(), sql::kReadBaseData, connection.filePath());
        connection.logStatement(sql::kInsertWorkingCopy);
        SqliteStatement insert(connection.handle(), sql::kInsertWorkingCopy, connection.filePath());
        cipher::ParallelNames decryption(names);
        std::vector<SourceRow> rows;
        rows.reserve(kRowsPerChunk);
        bool more = true;
        while (more) {
            rows.clear();
            while (rows.size() < kRowsPerChunk && (more = select.step()))
                rows.push_back({select.column(0), select.column(1), select.column(2), select.column(3),
                                select.column(4)});
            cipher::ParallelNames::Batch plain =
                decryption.run(rows.size(), [&](cipher::NameCipher& cipher, std::size_t row) {
                    return plainName(cipher.DecryptName(fieldText(rows[row][0])));
                });
            for (std::size_t row = 0; row < rows.size(); ++row) {
                insert.bindText(1, plain.take(row));
                for (int column = 1; column < 5; ++column)
                    insert.bind(column + 1, rows[row][static_cast<std::size_t>(column)]);
                insert.step();
                insert.reset();
                ++copied;
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
    return copied;
}

} // namespace sedilo::store
