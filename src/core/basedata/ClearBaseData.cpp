#include "basedata/ClearBaseData.h"

#include <exception>

#include "store/SeatingDatabase.h"
#include "store/Statements.h"

namespace sedilo::basedata {

void ClearBaseData(BaseDataTab& tab, store::SeatingDatabase& database, Prompt& prompt)
{
    try {
        const store::DatabaseHold hold = database.hold(store::LockMode::Exclusive);
        database.replaceSharedRecordset();
        database.OpenDataConnection();
        database.SharedConnection().execute(store::sql::kDeleteBaseData);
        database.SharedConnection().close();
    } catch (const std::exception& failure) {
        prompt.error(kClearingFailed, failure.what());
        return;
    }
    tab.sjgrid.reset();
    prompt.inform(kBaseDataCleared);
}

} // namespace sedilo::basedata
