#pragma once

#include <memory>
#include <string>

#include "arrange/SeatPath.h"
#include "rooms/ArrangementOptions.h"
#include "services/workbook/Workbook.h"

namespace sedilo::arrange {

// A room template parsed once per run, with its seat cells in fill order, so
// that every room using it is produced from a copy.
class RoomTemplate {
public:
    // Throws WorkbookError when the file cannot be read or its first
    // worksheet is empty.
    RoomTemplate(const std::string& path, rooms::FillDirection direction);

    // Bounds taken before any change, then the seat path over them.
    static SeatPath traceSeats(const workbook::Workbook& book, rooms::FillDirection direction);

    const SeatPath& seatPath() const { return m_seatPath; }
    std::string extension() const { return m_workbook->extension(); }
    std::unique_ptr<workbook::Workbook> copy() const { return m_workbook->clone(); }

private:
    std::unique_ptr<workbook::Workbook> m_workbook;
    SeatPath m_seatPath;
};

} // namespace sedilo::arrange
