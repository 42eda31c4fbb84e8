#include "app/DatabaseFailure.h"

#include "services/failure/Failure.h"

namespace sedilo::session {

void ReportDatabaseFailure(Prompt& prompt, const std::string& file, const std::exception& failure)
{
    Cause cause = CauseOf(failure);
    if (cause.file.empty())
        cause.file = file;
    prompt.fail("数据库文件无法使用：" + file, cause);
}

} // namespace sedilo::session
