#include "arrange/SeatAssigner.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "services/workbook/Utf8.h"
#include "store/DatabaseError.h"
#include "store/SqliteStatement.h"

namespace sedilo::arrange {

namespace {

constexpr long kExamineesPerProgressStep = 100;

} // namespace

void SeatAssigner::Seats::add(std::int64_t rowId, const std::string& room, int seat)
{
    if (rooms.empty() || rooms.back() != room)
        rooms.push_back(room);
    seats.push_back({rowId, static_cast<std::uint32_t>(rooms.size() - 1), seat});
}

SeatAssigner::SeatAssigner(store::Connection& connection, std::string table, std::vector<std::int64_t> rowIds,
                           ProgressControl& progress, WriteBack writeBack)
    : m_connection(connection), m_table(std::move(table)), m_rowIds(std::move(rowIds)), m_progress(progress),
      m_writeBack(writeBack)
{
    m_taken.seats.reserve(m_rowIds.size());
}

SeatAssigner::~SeatAssigner()
{
    if (m_writeAhead.joinable())
        m_writeAhead.join();
}

void SeatAssigner::writeAhead(const std::vector<RoomJob>& jobs, std::span<const ExamineeValues> values)
{
    if (m_writeAhead.joinable())
        return;
    Seats foreseen;
    for (const RoomJob& job : jobs) {
        for (long seat = 1; seat <= job.count; ++seat) {
            const auto examinee = static_cast<std::size_t>(job.first + seat - 1);
            if (examinee >= m_rowIds.size())
                return; // not a schedule of these examinees: written as taken
            foreseen.add(m_rowIds[examinee], job.room, static_cast<int>(seat));
        }
    }
    m_foreseen = foreseen;
    if (m_writeBack == WriteBack::Skipped) {
        m_laidOutAhead = true;
        m_writeAhead = std::thread([this, values, seats = std::move(foreseen)] {
            try {
                m_rowsAhead = rowsOf(seats, values);
            } catch (...) {
                m_writeAheadFailure = std::current_exception();
            }
        });
        return;
    }
    m_writeAhead = std::thread([this, seats = std::move(foreseen)]() mutable {
        try {
            writeSeats(std::move(seats));
        } catch (...) {
            m_writeAheadFailure = std::current_exception();
        }
    });
}

bool SeatAssigner::AssignSeat(const std::string& room, int seat)
{
    const long examinees = static_cast<long>(m_rowIds.size());
    if (m_seated >= examinees)
        return false;
    m_taken.add(m_rowIds[static_cast<std::size_t>(m_seated)], room, seat);
    ++m_seated;
    // The first seat at once: until then the tab still shows the last run's end.
    if (m_seated == 1 || m_seated % kExamineesPerProgressStep == 0)
        showProgress();
    return m_seated < examinees;
}

void SeatAssigner::showProgress()
{
    if (m_seated == m_shown)
        return;
    m_shown = m_seated;
    m_progress.setValue(static_cast<int>(m_seated));
    m_progress.setStatus("正在生成第" + std::to_string(m_seated) + "位考生考室数据");
}

bool SeatAssigner::tookTheForeseenSeats()
{
    if (!m_writeAhead.joinable())
        return false;
    m_writeAhead.join();
    if (!m_writeAheadFailure && m_taken == m_foreseen)
        return true;
    m_connection.rollbackWriteBatch();
    return false;
}

void SeatAssigner::commit()
{
    if (m_writeBack == WriteBack::Skipped)
        return;
    if (tookTheForeseenSeats())
        m_taken = {};
    m_foreseen = {};
    writeSeats(std::exchange(m_taken, {}));
    m_connection.commitWriteBatch();
}

namespace {

// A workbook's text may hold bytes that are no UTF-8; the database only ever
// gets U+FFFD in their place.
void makeStorable(std::vector<std::string>& rooms)
{
    for (std::string& room : rooms) {
        if (!workbook::isValidUtf8(room))
            room = workbook::validUtf8(room);
    }
}

// The examinees' places in seat order, sorted by their rows' rowids. The
// rowids of a rebuilt table run from 1 without gaps: those are placed
// directly.
std::vector<std::uint32_t> byRowId(const std::vector<std::int64_t>& rowIds, std::size_t count)
{
    std::vector<std::uint32_t> places;
    if (count == 0)
        return places;
    const auto [low, high] = std::minmax_element(rowIds.begin(), rowIds.begin() + static_cast<std::ptrdiff_t>(count));
    if (static_cast<std::uint64_t>(*high - *low) < 2 * static_cast<std::uint64_t>(count)) {
        constexpr std::uint32_t kNone = UINT32_MAX;
        std::vector<std::uint32_t> atRowId(static_cast<std::size_t>(*high - *low) + 1, kNone);
        for (std::size_t place = 0; place < count; ++place)
            atRowId[static_cast<std::size_t>(rowIds[place] - *low)] = static_cast<std::uint32_t>(place);
        places.reserve(count);
        for (const std::uint32_t place : atRowId)
            if (place != kNone)
                places.push_back(place);
        if (places.size() == count)
            return places; // each rowid once
        places.clear();
    }
    places.resize(count);
    std::iota(places.begin(), places.end(), 0u);
    std::sort(places.begin(), places.end(),
              [&](std::uint32_t left, std::uint32_t right) { return rowIds[left] < rowIds[right]; });
    return places;
}

} // namespace

store::SelectedRows SeatAssigner::arrangedRows(std::span<const ExamineeValues> values)
{
    if (m_writeBack == WriteBack::Skipped && m_writeAhead.joinable())
        m_writeAhead.join();
    if (std::exchange(m_laidOutAhead, false) && !m_writeAheadFailure && m_taken == m_foreseen)
        return std::move(m_rowsAhead);
    return rowsOf(m_taken, values);
}

store::SelectedRows SeatAssigner::rowsOf(const Seats& taken, std::span<const ExamineeValues> values) const
{
    std::vector<std::string> rooms = taken.rooms;
    makeStorable(rooms);
    store::SelectedRows rows;
    rows.table = m_table;
    rows.columns = 4;
    const std::vector<std::uint32_t> places = byRowId(m_rowIds, std::min(values.size(), m_rowIds.size()));
    rows.rowIds.reserve(places.size());
    for (const std::uint32_t examinee : places) {
        const ExamineeValues& value = values[examinee];
        rows.rowIds.push_back(m_rowIds[examinee]);
        rows.texts.append(value.name);
        rows.texts.append(value.number);
        rows.texts.append(value.unit);
        rows.texts.append(examinee < taken.seats.size() ? std::string_view(rooms[taken.seats[examinee].room])
                                                        : std::string_view());
    }
    return rows;
}

void SeatAssigner::writeSeats(Seats seats)
{
    if (seats.seats.empty())
        return;
    std::sort(seats.seats.begin(), seats.seats.end(), [](const Seat& a, const Seat& b) { return a.rowId < b.rowId; });
    makeStorable(seats.rooms);
    const std::string& file = m_connection.filePath();
    store::SqliteStatement update(m_connection.handle(),
                                  "UPDATE " + store::quotedName(m_table) + " SET " + store::quotedName("考室")
                                      + " = ?, " + store::quotedName("座位号") + " = ? WHERE _rowid_ = ?",
                                  file);
    m_connection.beginWriteBatch();
    for (const Seat& seat : seats.seats) {
        update.bindText(1, seats.rooms[seat.room]);
        update.bindText(2, std::to_string(seat.seat));
        update.bind(3, seat.rowId);
        update.step();
        if (update.changes() == 0)
            throw store::DatabaseError(file, "the row to write back no longer exists");
        update.reset();
    }
}

} // namespace sedilo::arrange
