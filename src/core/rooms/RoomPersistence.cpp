#include "rooms/RoomPersistence.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "rooms/RoomEditor.h"
#include "rooms/TemplateFile.h"
#include "services/Prompt.h"
#include "store/SeatingDatabase.h"
#include "store/Statements.h"

namespace sedilo::rooms {

namespace {
constexpr const char* kNameColumn = "考室";
constexpr const char* kTemplateColumn = "模板";
constexpr std::uint32_t kMissingTemplateColor = 0xFF0000;

struct SavedRoom {
    std::string name;
    std::string templatePath;
};

// Closing after a failure must not hide the failure being reported.
void closeQuietly(store::SeatingDatabase& database)
{
    try {
        database.closeAll();
    } catch (const std::exception&) {
    }
}

std::vector<SavedRoom> readSavedRooms(store::SeatingDatabase& database)
{
    const store::DatabaseHold hold = database.hold(store::LockMode::Shared);
    database.OpenDataConnection();
    database.replaceSharedRecordset();
    store::Recordset& records = database.SharedRecordset();
    records.open(store::sql::kSelectRooms, database.SharedConnection());
    std::vector<SavedRoom> rooms;
    if (records.rowCount() > 0) {
        for (records.moveFirst(); !records.atEnd(); records.moveNext())
            rooms.push_back({records.text(kNameColumn), records.text(kTemplateColumn)});
    }
    database.closeAll();
    return rooms;
}

void appendSavedRoom(RoomGrid& grid, const SavedRoom& room)
{
    int row = grid.Rows() - 1;
    if (!grid.isBlankRow(row)) {
        grid.setRows(grid.Rows() + 1);
        row = grid.Rows() - 1;
    } else {
        // A blank saved row before this room may have marked the row red.
        grid.resetRowColors(row);
    }
    grid.setTextMatrix(row, 0, room.name);
    grid.setTextMatrix(row, 1, room.templatePath);
    // Also when the room lands in the blank row of an empty list, so that the
    // red mark below goes to this row and the load ends on the last room.
    grid.setRow(row);
    if (!templateFileExists(grid.TextMatrix(row, 1))) {
        grid.setCol(1);
        grid.setCurrentCellColor(kMissingTemplateColor);
    }
}
} // namespace

void SaveRooms(const RoomsTab& tab, store::SeatingDatabase& database, Prompt& prompt)
{
    const RoomGrid& grid = tab.ksgrid;
    if (grid.isBlankRow(1)) {
        prompt.error("列表中无数据，保存失败");
        return;
    }
    try {
        const store::DatabaseHold hold = database.hold(store::LockMode::Exclusive);
        database.OpenDataConnection();
        store::Connection& connection = database.SharedConnection();
        {
            // The old list goes only together with the new one fully written.
            store::Transaction transaction(connection);
            connection.execute(store::sql::kDeleteRooms);
            database.replaceSharedRecordset();
            store::Recordset& records = database.SharedRecordset();
            records.open(store::sql::kSelectRooms, connection);
            for (int row = 1; row < grid.Rows(); ++row) {
                records.addNew();
                records.setValue(kNameColumn, grid.TextMatrix(row, 0));
                records.setValue(kTemplateColumn, grid.TextMatrix(row, 1));
                records.update();
            }
            records.close();
            transaction.commit();
        }
        database.closeAll();
    } catch (const std::exception& error) {
        closeQuietly(database);
        prompt.error("考室数据保存失败！", error.what());
        return;
    }
    prompt.inform("考室数据保存至数据库成功");
}

void LoadRooms(RoomsTab& tab, store::SeatingDatabase& database, Prompt& prompt)
{
    // Read everything first, so that a failure half-way leaves the grid as it was.
    std::vector<SavedRoom> rooms;
    try {
        rooms = readSavedRooms(database);
    } catch (const std::exception& error) {
        closeQuietly(database);
        prompt.error("考室数据载入失败！", error.what());
        return;
    }
    if (rooms.empty()) {
        prompt.inform("数据库中无考室数据！");
        return;
    }
    for (const SavedRoom& room : rooms)
        appendSavedRoom(tab.ksgrid, room);
    UpdateRoomCount(tab, RoomCountText::Long);
    prompt.inform("考室数据载入成功");
}

} // namespace sedilo::rooms
