#include "rooms/RoomEditor.h"

#include <exception>
#include <string>
#include <unordered_set>

#include "rooms/TemplateFile.h"
#include "services/Messages.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"
#include "services/ShellFolders.h"
#include "services/text/Trim.h"

namespace sedilo::rooms {

namespace {
constexpr const char* kNameOrTemplateMissing = "考室名称、考室模板没设置！";
constexpr const char* kRoomExistsSuffix = "考室已经存在!";
constexpr const char* kNoRoomSelected = "没选择考室！";
constexpr const char* kConfirmClear = "确实要清空列表吗?";
constexpr const char* kChooserTitle = "选择Excel模板文件";
constexpr const char* kRedNote = "，红色显示的考室模板表示该模板文件可能不存在！";
constexpr std::uint32_t kNoColor = RoomGrid::kDefaultColor;

void writeRoom(RoomGrid& grid, int row, const std::string& name, const std::string& path)
{
    grid.setTextMatrix(row, 0, name);
    grid.setTextMatrix(row, 1, path);
}
} // namespace

void writeRoomGridHeaders(RoomGrid& grid)
{
    writeRoom(grid, 0, "考室名称", "考室模板文件");
}

void SelectRoom(RoomsTab& tab)
{
    const RoomGrid& grid = tab.ksgrid;
    const int row = grid.Row();
    if (row < 1 || grid.isBlankRow(row))
        return;
    tab.ksname = trimSpaces(grid.TextMatrix(row, 0));
    tab.ksmbpath = trimSpaces(grid.TextMatrix(row, 1));
}

void OpenRoomTemplate(const RoomsTab& tab, ShellDialogs& dialogs, Prompt& prompt)
{
    const RoomGrid& grid = tab.ksgrid;
    const int row = grid.Row();
    if (row < 1)
        return;
    const std::string path = grid.TextMatrix(row, 1);
    if (!templateFileExists(path)) {
        prompt.error("“" + path + "”" + messages::kTemplateMissingSuffix);
        return;
    }
    if (grid.isBlankRow(row))
        return;
    try {
        if (!dialogs.openDocument(path))
            ReportNoDesktopHandler(prompt, messages::kNoExcel, path);
    } catch (...) {
        prompt.fail(messages::kNoExcel, CauseOf(std::current_exception()));
    }
}

void ChooseRoomTemplate(RoomsTab& tab, ShellDialogs& dialogs)
{
    try {
        tab.ksmbpath = ChooseExcelFile(dialogs, kChooserTitle);
    } catch (const std::exception&) {
        // A failing chooser ends the operation quietly; ksmbpath keeps its text.
    }
}

void AddRoom(RoomsTab& tab, Prompt& prompt)
{
    RoomGrid& grid = tab.ksgrid;
    const std::string name = trimSpaces(tab.ksname);
    const std::string path = trimSpaces(tab.ksmbpath);
    if (name.empty() || path.empty()) {
        prompt.error(kNameOrTemplateMissing);
        return;
    }
    const bool appended = !grid.isBlankRow(1);
    if (appended)
        grid.setRows(grid.Rows() + 1);
    const int last = grid.Rows() - 1;
    for (int row = 1; row <= last; ++row) {
        const std::string existing = trimSpaces(grid.TextMatrix(row, 0));
        if (existing == name) {
            prompt.error("\"" + existing + "\"" + kRoomExistsSuffix);
            if (appended)
                grid.setRows(grid.Rows() - 1);
            return;
        }
        if (existing.empty()) {
            writeRoom(grid, row, name, path);
            break;
        }
    }
    // Rows counts the header, so this is the next room's number.
    tab.ksname = "第" + std::to_string(grid.Rows()) + "考室";
    UpdateRoomCount(tab, RoomCountText::Short);
}

std::size_t AddRooms(RoomsTab& tab, const std::vector<std::pair<std::string, std::string>>& rooms)
{
    RoomGrid& grid = tab.ksgrid;
    // AddRoom writes into the first row without a name; while every row has
    // one, that is a new last row, and a set of the names does its search.
    std::unordered_set<std::string> names;
    if (!(grid.Rows() == 2 && grid.isBlankRow(1))) {
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.isBlankRow(row))
                return 0;
            names.insert(trimSpaces(grid.TextMatrix(row, 0)));
        }
    }
    std::size_t added = 0;
    for (; added < rooms.size(); ++added) {
        const auto& [givenName, givenPath] = rooms[added];
        const std::string name = trimSpaces(givenName);
        const std::string path = trimSpaces(givenPath);
        if (name.empty() || path.empty() || !names.insert(name).second)
            break;
        if (!grid.isBlankRow(1))
            grid.setRows(grid.Rows() + 1);
        writeRoom(grid, grid.Rows() - 1, name, path);
        tab.ksmbpath = givenPath;
    }
    if (added > 0) {
        tab.ksname = "第" + std::to_string(grid.Rows()) + "考室";
        UpdateRoomCount(tab, RoomCountText::Short);
    }
    return added;
}

void ModifyRoom(RoomsTab& tab, Prompt& prompt)
{
    RoomGrid& grid = tab.ksgrid;
    if (grid.Row() < 1) {
        prompt.error(kNoRoomSelected);
        return;
    }
    const std::string name = trimSpaces(tab.ksname);
    const std::string path = trimSpaces(tab.ksmbpath);
    if (name.empty() || path.empty()) {
        prompt.error(kNameOrTemplateMissing);
        return;
    }
    writeRoom(grid, grid.Row(), name, path);
}

void DeleteRoom(RoomsTab& tab, Prompt& prompt)
{
    RoomGrid& grid = tab.ksgrid;
    const int row = grid.Row();
    if (row < 1) {
        prompt.error(kNoRoomSelected);
        return;
    }
    if (!grid.TextMatrix(row, 0).empty()) {
        if (row == 1 && grid.Rows() == 2) {
            writeRoom(grid, 1, "", "");
            // The blanked row stands for a removed room: a red mark left on it
            // would wrongly flag the template of the next room added there.
            for (int column = 0; column < 2; ++column) {
                grid.setCol(column);
                grid.setCurrentCellColor(kNoColor);
            }
        } else {
            grid.RemoveItem(row);
        }
    }
    UpdateRoomCount(tab, RoomCountText::Short);
}

void ClearRooms(RoomsTab& tab, Prompt& prompt)
{
    if (!prompt.askDefaultNo(kConfirmClear))
        return;
    RoomGrid& grid = tab.ksgrid;
    grid.Clear();
    grid.setRows(2);
    writeRoomGridHeaders(grid);
    // A count text still naming the rooms of before would contradict the empty list.
    tab.kstjstr = "当前共有0间考室";
}

void UpdateRoomCount(RoomsTab& tab, RoomCountText kind)
{
    const RoomGrid& grid = tab.ksgrid;
    if (grid.Rows() == 2 && grid.isBlankRow(1)) {
        tab.kstjstr = "当前共有0间考室";
        return;
    }
    tab.kstjstr = "当前共有" + std::to_string(grid.Rows() - 1) + "间考室";
    if (kind == RoomCountText::Long)
        tab.kstjstr += kRedNote;
}

} // namespace sedilo::rooms
