#include "export/print/PrintSheets.h"

#include <exception>
#include <functional>
#include <thread>
#include <set>

#include "export/OutputCollision.h"
#include "export/print/DoorSheet.h"
#include "export/print/SeatLookupSheet.h"
#include "export/print/SeatedArrangement.h"
#include "export/print/SignInSheet.h"
#include "services/Messages.h"
#include "services/ShellFolders.h"
#include "services/failure/CauseCatalogue.h"
#include "services/failure/Failure.h"
#include "services/text/Trim.h"

namespace sedilo::exporting {

namespace {

constexpr const char* kNothingChosen = "请至少勾选一种打印用表！";
constexpr const char* kNoArrangement = "还没有生成考室编排表，请先生成考室编排表再生成打印用表！";
constexpr const char* kPrintFailed = "打印用表生成失败！";

struct Sheet {
    const char* name;
    void (*write)(const std::string& target, const SeatedArrangement& arrangement);
};

std::vector<Sheet> chosenSheets(const PrintSheetChoice& choice)
{
    std::vector<Sheet> sheets;
    if (choice.signIn)
        sheets.push_back({kSignInSheetName, writeSignInSheet});
    if (choice.door)
        sheets.push_back({kDoorSheetName, writeDoorSheet});
    if (choice.lookup)
        sheets.push_back({kSeatLookupSheetName, writeSeatLookupSheet});
    return sheets;
}

std::string doneMessage(const std::vector<Sheet>& sheets)
{
    std::string names;
    for (const Sheet& sheet : sheets)
        names += (names.empty() ? "" : "、") + std::string(sheet.name);
    return "打印用表（" + names + "）生成完毕！";
}

// Every name is checked before the first sheet is written.
void refuseCollisions(const std::string& folder, const SeatedArrangement& arrangement,
                      const std::vector<Sheet>& sheets)
{
    std::set<std::string> rooms;
    for (const auto& room : arrangement.rooms)
        rooms.insert(room.name);
    std::set<std::string> units;
    for (const auto& unit : arrangement.units)
        if (!unit.seated.empty())
            units.insert(trimSpaces(unit.name));
    OutputCollision collision(folder);
    collision.protectRoomWorkbooks(rooms);
    collision.protectQueryWorkbooks(units);
    for (const Sheet& sheet : sheets)
        collision.refuse(sheet.name);
}

// The sheets are independent files: each gets a thread of its own. The first
// failure in sheet order is the one reported.
void writeAll(const std::string& folder, const SeatedArrangement& arrangement, const std::vector<Sheet>& sheets,
              std::vector<std::string>& written)
{
    std::vector<std::exception_ptr> failures(sheets.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t index = 0; index < sheets.size(); ++index) {
            threads.emplace_back([&, index] {
                try {
                    sheets[index].write(folder + sheets[index].name + ".xlsx", arrangement);
                } catch (...) {
                    failures[index] = std::current_exception();
                }
            });
        }
    }
    for (std::size_t index = 0; index < sheets.size(); ++index)
        if (!failures[index])
            written.push_back(folder + sheets[index].name + ".xlsx");
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

} // namespace

PrintSheetsResult WritePrintSheets(const PrintSheetChoice& choice, const std::string& ksoutpathText,
                                   const std::vector<std::string>& roomOrder, store::SeatingDatabase& database,
                                   Prompt& prompt)
{
    PrintSheetsResult result;
    const std::string folder = OutputFolderText(ksoutpathText);
    if (folder.empty()) {
        prompt.error(messages::kNoOutputFolder);
        return result;
    }
    const std::vector<Sheet> sheets = chosenSheets(choice);
    if (sheets.empty()) {
        prompt.error(kNothingChosen);
        return result;
    }
    try {
        const SeatedArrangement arrangement = readSeatedArrangement(database, roomOrder);
        if (arrangement.rooms.empty()) {
            prompt.error(kNoArrangement);
            return result;
        }
        refuseCollisions(folder, arrangement, sheets);
        writeAll(folder, arrangement, sheets, result.written);
    } catch (...) {
        const Cause cause = CauseOf(std::current_exception());
        try {
            database.closeAll();
        } catch (...) {
            // The failure already being reported is the one that matters.
        }
        prompt.fail(kPrintFailed, cause);
        return result;
    }
    result.succeeded = true;
    prompt.inform(doneMessage(sheets));
    return result;
}

} // namespace sedilo::exporting
