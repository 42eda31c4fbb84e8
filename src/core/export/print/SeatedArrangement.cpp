#include "export/print/SeatedArrangement.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string_view>
#include <unordered_map>

#include "export/print/UnitOrder.h"
#include "services/text/NaturalOrder.h"
#include "services/text/Trim.h"
#include "store/Statements.h"

namespace sedilo::exporting {

namespace {

using Examinee = SeatedArrangement::Examinee;

long seatNumber(const std::string& text)
{
    const std::string trimmed = trimSpaces(text);
    long seat = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), seat);
    return error == std::errc() && end == trimmed.data() + trimmed.size() ? seat : 0;
}

struct NaturalTextLess {
    bool operator()(const std::string& left, const std::string& right) const { return naturalLess(left, right); }
};

std::vector<SeatedArrangement::Room> groupRooms(const std::vector<Examinee>& examinees,
                                                const std::vector<std::string>& roomOrder)
{
    std::unordered_map<std::string, std::size_t> index;
    std::vector<SeatedArrangement::Room> rooms;
    for (const std::string& room : roomOrder) {
        if (index.emplace(room, rooms.size()).second)
            rooms.push_back({room, {}});
    }
    std::map<std::string, std::vector<const Examinee*>, NaturalTextLess> others;
    for (const Examinee& examinee : examinees) {
        if (trimSpaces(examinee.room).empty())
            continue;
        if (const auto found = index.find(examinee.room); found != index.end())
            rooms[found->second].seats.push_back(&examinee);
        else
            others[examinee.room].push_back(&examinee);
    }
    // A listed room that got nobody is no room of this arrangement.
    std::erase_if(rooms, [](const SeatedArrangement::Room& room) { return room.seats.empty(); });
    for (auto& [name, seats] : others)
        rooms.push_back({name, std::move(seats)});
    for (auto& room : rooms) {
        std::stable_sort(room.seats.begin(), room.seats.end(), [](const Examinee* left, const Examinee* right) {
            return seatNumber(left->seat) < seatNumber(right->seat);
        });
    }
    return rooms;
}

std::vector<SeatedArrangement::Unit> groupUnits(std::vector<Examinee>& examinees)
{
    // Grouped by hash first: the collation is weighed only between the names.
    std::unordered_map<std::string_view, std::size_t> rank;
    std::vector<SeatedArrangement::Unit> units;
    for (Examinee& examinee : examinees) {
        const auto [found, added] = rank.emplace(examinee.unit, units.size());
        if (added)
            units.push_back({examinee.unit, {}, 0});
        examinee.unitRank = found->second;
        SeatedArrangement::Unit& unit = units[found->second];
        if (trimSpaces(examinee.room).empty())
            ++unit.unseated;
        else
            unit.seated.push_back(&examinee);
    }
    std::vector<std::size_t> order(units.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const UnitOrder unitOrder;
    std::sort(order.begin(), order.end(),
              [&](std::size_t left, std::size_t right) { return unitOrder(units[left].name, units[right].name); });
    std::vector<std::size_t> placeOf(units.size());
    std::vector<SeatedArrangement::Unit> ordered;
    ordered.reserve(units.size());
    for (const std::size_t from : order) {
        placeOf[from] = ordered.size();
        SeatedArrangement::Unit& unit = units[from];
        std::stable_sort(unit.seated.begin(), unit.seated.end(), [](const Examinee* left, const Examinee* right) {
            return naturalLess(left->number, right->number);
        });
        ordered.push_back(std::move(unit));
    }
    for (Examinee& examinee : examinees)
        examinee.unitRank = placeOf[examinee.unitRank];
    return ordered;
}

} // namespace

long SeatedArrangement::seatedCount() const
{
    long seated = 0;
    for (const Room& room : rooms)
        seated += static_cast<long>(room.seats.size());
    return seated;
}

SeatedArrangement readSeatedArrangement(store::SeatingDatabase& database, const std::vector<std::string>& roomOrder)
{
    SeatedArrangement arrangement;
    const store::DatabaseHold hold = database.hold(store::LockMode::Shared);
    database.replaceSharedRecordset();
    database.OpenDataConnection();
    store::Recordset& rows = database.SharedRecordset();
    rows.open(store::sql::kSelectWorkingCopy, database.SharedConnection());
    arrangement.examinees.reserve(static_cast<std::size_t>(std::max(0L, rows.rowCount())));
    for (rows.moveFirst(); !rows.atEnd(); rows.moveNext())
        arrangement.examinees.push_back(
            {rows.text("姓名"), rows.text("考号"), rows.text("单位"), rows.text("考室"), rows.text("座位号")});
    database.closeAll();
    arrangement.rooms = groupRooms(arrangement.examinees, roomOrder);
    arrangement.units = groupUnits(arrangement.examinees);
    return arrangement;
}

} // namespace sedilo::exporting
