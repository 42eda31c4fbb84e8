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

void SeatAssigner::writeAhead(const std::vector<RoomJob>& jobs)
{
    if (m_writeAhead.joinable() || m_writeBack == WriteBack::Skipped)
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

} // namespace

store::SelectedRows SeatAssigner::arrangedRows(std::span<const ExamineeValues> values) const
{
    std::vector<std::string> rooms = m_taken.rooms;
    makeStorable(rooms);
    std::vector<std::uint32_t> byRowId(std::min(values.size(), m_rowIds.size()));
    std::iota(byRowId.begin(), byRowId.end(), 0u);
    std::sort(byRowId.begin(), byRowId.end(),
              [&](std::uint32_t left, std::uint32_t right) { return m_rowIds[left] < m_rowIds[right]; });
    store::SelectedRows rows;
    rows.table = m_table;
    rows.columns = 4;
    rows.rowIds.reserve(byRowId.size());
    for (const std::uint32_t examinee : byRowId) {
        const ExamineeValues& value = values[examinee];
        rows.rowIds.push_back(m_rowIds[examinee]);
        rows.texts.append(value.name);
        rows.texts.append(value.number);
        rows.texts.append(value.unit);
        rows.texts.append(examinee < m_taken.seats.size() ? std::string_view(rooms[m_taken.seats[examinee].room])
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
