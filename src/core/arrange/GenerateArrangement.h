#pragma once

#include <optional>
#include <string>
#include <vector>

#include "arrange/GenerateTab.h"
#include "arrange/SameUnitPair.h"
#include "rooms/RoomsTab.h"
#include "services/Prompt.h"
#include "services/failure/Cause.h"
#include "services/cipher/NameCipher.h"
#include "store/SeatingDatabase.h"
#include "store/SelectedRows.h"

namespace sedilo::arrange {

struct GenerationSettings {
    // Threads that produce room workbooks; 0 means one per hardware thread.
    unsigned workers = 0;
    // False for a database thrown away after the run: the seats are not
    // written into it, and the result's arrangedRows holds them instead.
    bool writeBack = true;
};

// How a run ended, for callers that report it (the command line).
struct GenerationResult {
    enum class Outcome {
        NoOutputFolder,  // "没选择考室文件生成路径！"
        NoBaseData,      // the working copy was empty
        Complete,        // "所有考室生成完成！"
        RoomsUsedUp,     // "还有"…"考生没指定考室…"
        TemplateMissing, // "“"…"”模板文件不存在！"
        Failed,          // the general failure message
    };
    Outcome outcome = Outcome::Failed;
    std::string message;  // the closing message box text
    Cause cause;          // the cause behind a general failure
    long examinees = 0;   // N
    long seated = 0;
    int roomsWithExaminees = 0;
    int workbooksWritten = 0;
    // With "同单位不相邻" ticked: the neighbour pairs that still share a unit.
    std::optional<std::vector<SameUnitPair>> sameUnitPairs;
    // Without the write-back, once the rooms were produced: every examinee's
    // 姓名, 考号, 单位 and 考室 in rowid order, as the working copy would
    // hold them.
    std::optional<store::SelectedRows> arrangedRows;
};

// The click on `PushButton7` "生成编排文件": rebuilds the working copy, seats
// the examinees in the chosen ordering room after room, writes room and seat
// back and saves one Room workbook per room processed. Every message goes to
// `prompt`. Safe to run off the user-interface thread: it touches nothing but
// its arguments, and the room tab is only read.
GenerationResult GenerateArrangement(GenerateTab& tab, const rooms::RoomsTab& rooms, store::SeatingDatabase& database,
                                     cipher::NameCipher& cipher, Prompt& prompt,
                                     const GenerationSettings& settings = {});

} // namespace sedilo::arrange
