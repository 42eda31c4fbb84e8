#include "app/DatabaseFailure.h"

#include "store/DatabaseError.h"

namespace sedilo::session {

void ReportDatabaseFailure(Prompt& prompt, const std::string& file, const std::exception& failure)
{
    const auto* databaseError = dynamic_cast<const store::DatabaseError*>(&failure);
    const std::string cause = databaseError ? databaseError->cause() : std::string(failure.what());
    prompt.error("数据库文件无法使用：" + file + "\n原因：" + cause, cause);
}

} // namespace sedilo::session
