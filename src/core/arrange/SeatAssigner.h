#pragma once

#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "arrange/ExamineeValues.h"
#include "arrange/RoomSchedule.h"
#include "services/ProgressControl.h"
#include "store/Connection.h"
#include "store/SelectedRows.h"

namespace sedilo::arrange {

// `AssignSeat` along the ordering: the next examinee in seat order takes room
// and seat, and the progress display keeps up (at the first examinee, then
// every few examinees, and on showProgress()). The seats are written into
// the examinees' rows sorted by rowid in one prepared statement and one write
// batch, so a city's table is walked page by page once instead of a random
// page per seat.
class SeatAssigner {
public:
    // Where the seats go: into the examinees' rows, or, for a database that
    // is thrown away after the run, nowhere but arrangedRows().
    enum class WriteBack { IntoTheRows, Skipped };

    // `rowIds` names the examinees' rows in seat order.
    SeatAssigner(store::Connection& connection, std::string table, std::vector<std::int64_t> rowIds,
                 ProgressControl& progress, WriteBack writeBack = WriteBack::IntoTheRows);
    ~SeatAssigner();
    SeatAssigner(const SeatAssigner&) = delete;
    SeatAssigner& operator=(const SeatAssigner&) = delete;

    // Writes the seats `jobs` foresee on a thread of its own while the rooms
    // are produced; nothing else may use the connection until commit(). What
    // commit() keeps is the same either way: the foreseen seats when the run
    // took exactly those, else they are rolled back and the seats taken are
    // written instead. With the write-back skipped, the thread lays out
    // arrangedRows() of the foreseen seats instead, from `values` in seat
    // order, which must outlive this assigner.
    void writeAhead(const std::vector<RoomJob>& jobs, std::span<const ExamineeValues> values);

    // False once no examinee remains.
    bool AssignSeat(const std::string& room, int seat);

    long seated() const { return m_seated; }

    // Brings the progress bar and its status up to the last examinee seated.
    void showProgress();
    // Writes and commits the seats taken so far; each is written once, even
    // when a failure ends the write and commit() is called again.
    void commit();

    // With the write-back skipped: every examinee's 姓名, 考号, 单位 and the
    // 考室 taken (empty if none), in rowid order, as the rows would hold
    // them once written. `values` are the examinees in seat order.
    store::SelectedRows arrangedRows(std::span<const ExamineeValues> values);

private:
    struct Seat {
        std::int64_t rowId;
        std::uint32_t room;
        std::int32_t seat;
        bool operator==(const Seat&) const = default;
    };
    // Seats in seat order, with the rooms they name by index.
    struct Seats {
        std::vector<std::string> rooms;
        std::vector<Seat> seats;
        void add(std::int64_t rowId, const std::string& room, int seat);
        bool operator==(const Seats&) const = default;
    };

    void writeSeats(Seats seats);
    store::SelectedRows rowsOf(const Seats& taken, std::span<const ExamineeValues> values) const;
    bool tookTheForeseenSeats();

    store::Connection& m_connection;
    std::string m_table;
    std::vector<std::int64_t> m_rowIds;
    ProgressControl& m_progress;
    const WriteBack m_writeBack;
    Seats m_taken;
    long m_seated = 0;
    long m_shown = 0;
    Seats m_foreseen;
    store::SelectedRows m_rowsAhead;
    bool m_laidOutAhead = false;
    std::exception_ptr m_writeAheadFailure;
    std::thread m_writeAhead;
};

} // namespace sedilo::arrange
