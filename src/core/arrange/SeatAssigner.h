#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "services/ProgressControl.h"
#include "store/Connection.h"

namespace sedilo::arrange {

// `AssignSeat` along the ordering: the next examinee in seat order takes room
// and seat, and the progress display keeps up (at the first examinee, then
// every few examinees, and on showProgress()). The seats are written into
// the examinees' rows at commit(), sorted by rowid in one prepared statement
// and one write batch, so a city's table is walked page by page once instead
// of a random page per seat.
class SeatAssigner {
public:
    // `rowIds` names the examinees' rows in seat order.
    SeatAssigner(store::Connection& connection, std::string table, std::vector<std::int64_t> rowIds,
                 ProgressControl& progress);
    SeatAssigner(const SeatAssigner&) = delete;
    SeatAssigner& operator=(const SeatAssigner&) = delete;

    // False once no examinee remains.
    bool AssignSeat(const std::string& room, int seat);

    long seated() const { return m_seated; }

    // Brings the progress bar and its status up to the last examinee seated.
    void showProgress();
    // Writes and commits the seats taken so far; each is written once, even
    // when a failure ends the write and commit() is called again.
    void commit();

private:
    struct Seat {
        std::int64_t rowId;
        std::uint32_t room;
        std::int32_t seat;
    };

    void writeSeats(std::vector<Seat> seats);

    store::Connection& m_connection;
    std::string m_table;
    std::vector<std::int64_t> m_rowIds;
    ProgressControl& m_progress;
    std::vector<std::string> m_rooms;
    std::vector<Seat> m_taken;
    long m_seated = 0;
    long m_shown = 0;
};

} // namespace sedilo::arrange
