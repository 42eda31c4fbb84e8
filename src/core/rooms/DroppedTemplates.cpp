#include "rooms/DroppedTemplates.h"

#include <algorithm>
#include <cctype>

#include "rooms/RoomEditor.h"
#include "services/text/Trim.h"

namespace sedilo::rooms {

namespace {

std::string lowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

int dataRows(const RoomGrid& grid)
{
    return grid.isBlankRow(1) ? 0 : grid.Rows() - 1;
}

bool nameInUse(const RoomGrid& grid, const std::string& name)
{
    for (int row = 1; row < grid.Rows(); ++row) {
        if (trimSpaces(grid.TextMatrix(row, 0)) == name)
            return true;
    }
    return false;
}

} // namespace

bool isDroppableWorkbook(const std::string& path)
{
    const std::string lower = lowerAscii(path);
    for (const char* extension : {".xls", ".xlsx", ".xlsm", ".xltx", ".xltm"}) {
        if (endsWith(lower, extension))
            return true;
    }
    return false;
}

std::string nextSuggestedRoomName(const RoomGrid& grid)
{
    for (int number = dataRows(grid) + 1;; ++number) {
        std::string name = "第" + std::to_string(number) + "考室";
        if (!nameInUse(grid, name))
            return name;
    }
}

int AddDroppedTemplates(RoomsTab& tab, const std::vector<std::string>& paths, Prompt& prompt)
{
    const std::string typedTemplate = tab.ksmbpath;
    int added = 0;
    for (const std::string& path : paths) {
        if (!isDroppableWorkbook(path))
            continue;
        const int before = dataRows(tab.ksgrid);
        tab.ksname = nextSuggestedRoomName(tab.ksgrid);
        tab.ksmbpath = path;
        AddRoom(tab, prompt);
        if (dataRows(tab.ksgrid) > before)
            ++added;
    }
    tab.ksmbpath = typedTemplate;
    tab.ksname = nextSuggestedRoomName(tab.ksgrid);
    return added;
}

} // namespace sedilo::rooms
