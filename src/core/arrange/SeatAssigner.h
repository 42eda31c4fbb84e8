#pragma once

#include <string>

#include "services/ProgressControl.h"
#include "store/Connection.h"
#include "store/Recordset.h"

namespace sedilo::arrange {

// `AssignSeat` on the ordering cursor: writes room and seat into the current
// row, moves on and keeps the progress display. The connection batches the
// row writes and commits them however the run ends. Progress is shown at the
// first examinee, then every few examinees, not per row, and on showProgress().
class SeatAssigner {
public:
    SeatAssigner(store::Connection& connection, store::Recordset& cursor, ProgressControl& progress, long examinees);
    SeatAssigner(const SeatAssigner&) = delete;
    SeatAssigner& operator=(const SeatAssigner&) = delete;

    // False once no examinee remains.
    bool AssignSeat(const std::string& room, int seat);

    long seated() const { return m_seated; }

    // Brings the progress bar and its status up to the last examinee seated.
    void showProgress();
    // Commits the rows written so far.
    void commit();

private:
    store::Connection& m_connection;
    store::Recordset& m_cursor;
    ProgressControl& m_progress;
    long m_examinees;
    long m_seated = 0;
    long m_shown = 0;
};

} // namespace sedilo::arrange
