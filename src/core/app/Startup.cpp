#include "app/Startup.h"

#include <exception>

#include "app/DatabaseFailure.h"
#include "store/Statements.h"

namespace sedilo::session {

void RunStartup(store::SeatingDatabase& database, Prompt& prompt, cipher::NameCipher& cipher)
{
    try {
        const store::DatabaseHold hold = database.hold(store::LockMode::Exclusive);
        database.replaceSharedRecordset();
        database.OpenDataConnection();
        if (prompt.askDefaultNo(kClearBaseDataQuestion)) {
            database.replaceSharedRecordset();
            database.OpenDataConnection();
            database.SharedConnection().execute(store::sql::kDeleteBaseData);
        }
        database.SharedConnection().execute(store::sql::kDeleteWorkingCopy);
        database.closeAll();
    } catch (const std::exception& failure) {
        // Last run's arrangement may still be there: it must not pass for this run's.
        database.markWorkingCopyStale();
        try {
            database.closeAll();
        } catch (...) {
        }
        ReportDatabaseFailure(prompt, database.filePath(), failure);
    }
    // The pass phrase does not depend on the database: set it even after a failure.
    cipher.setPassPhrase(cipher::kCipherPassPhrase);
}

} // namespace sedilo::session
