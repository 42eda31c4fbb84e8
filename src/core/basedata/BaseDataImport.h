#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "basedata/BaseDataTab.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"

namespace sedilo::cipher {
class NameCipher;
}
namespace sedilo::store {
class SeatingDatabase;
}

namespace sedilo::basedata {

inline constexpr const char* kChooseDataFileTitle = "选择Excel文件";
inline constexpr const char* kNoDataFile = "没选择数据源文件！";
inline constexpr const char* kExcelRunning =
    "系统检测到正在运行Excel，为保证系统能正确导入数据，是否自动关闭Excel？";
inline constexpr const char* kDoNotOperateDuringImport = "导入过程中请勿进行任何操作！";
inline constexpr const char* kImportDone = "导入成功完成。";
inline constexpr const char* kImportFailed = "基础数据导入失败！";

struct ImportSettings {
    // Fixes the random numbers' generator (the command line's --seed); without
    // it the generator is seeded from the clock.
    std::optional<std::uint64_t> seed;
};

struct ImportOutcome {
    bool succeeded = false;
    int imported = 0; // examinees written to jcdata
};

// `PushButton2`: the chosen workbook's trimmed path into `sjlj` ("" on cancel).
void ChooseDataFile(BaseDataTab& tab, ShellDialogs& dialogs);

// `PushButton1`: replaces the base data with the examinees of worksheet 1 of
// the workbook named by `sjlj`, all or nothing. Every outcome is reported
// through `prompt`; nothing is thrown. Touches only its arguments, so it may
// run off the user-interface thread.
ImportOutcome ImportBaseData(BaseDataTab& tab, store::SeatingDatabase& database, cipher::NameCipher& cipher,
                             Prompt& prompt, const ImportSettings& settings = {});

} // namespace sedilo::basedata
