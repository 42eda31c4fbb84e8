#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rooms/ArrangementOptions.h"
#include "services/workbook/Workbook.h"

namespace sedilo::arrange {

// Rows and columns beyond this are never seats.
inline constexpr int kScanLimit = 100;

struct SeatCell {
    int row = 0;
    int column = 0;
    std::string text; // the template's text, holding "姓名"
};

// The seat cells of worksheet 1 in the order the S path reaches them. Rows (or
// columns) without a seat keep the direction of the pass before, so which way
// each pass runs depends only on the template.
class SeatPath {
public:
    // Traces the scan area (rows 2.., columns 1.., both capped at kScanLimit)
    // of a sheet with the given bounds. A cell whose value has no text form
    // ends the path: `unreadable()` then holds the failure the writer raises
    // when its examinees reach that cell.
    static SeatPath trace(const workbook::Worksheet& sheet, int lastRow, int lastColumn,
                          rooms::FillDirection direction);

    const std::vector<SeatCell>& seats() const { return m_seats; }
    const std::optional<workbook::WorkbookError>& unreadable() const { return m_unreadable; }

private:
    std::vector<SeatCell> m_seats;
    std::optional<workbook::WorkbookError> m_unreadable;
};

// "C2", "AB17": a cell's name as a spreadsheet shows it.
std::string cellName(int row, int column);

} // namespace sedilo::arrange
