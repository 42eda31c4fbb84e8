#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sedilo::rooms {

// The room list grid `ksgrid`: two text columns (room name, template path),
// row 0 the header, data rows from 1. Starts with Rows() == 2 (one blank row).
class RoomGrid {
public:
    static constexpr std::uint32_t kDefaultColor = 0xFFFFFFFF; // "no colour of its own"

    RoomGrid();

    int Rows() const;
    void setRows(int rows); // larger appends blank rows, smaller drops rows from the end

    std::string TextMatrix(int row, int column) const;
    void setTextMatrix(int row, int column, const std::string& text);

    // Current cell. Row() below 1 means no room is selected.
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int column);

    void RemoveItem(int row); // later rows move up by one
    void Clear();             // every cell emptied (header included), colours reset; Rows unchanged

    // Text colour of a cell (0xRRGGBB) or kDefaultColor.
    std::uint32_t cellColor(int row, int column) const;
    void setCurrentCellColor(std::uint32_t rgb);
    void resetRowColors(int row);

    // A data row is blank when its name cell, trimmed of U+0020, is empty.
    bool isBlankRow(int row) const;

    // Called after every change so that a view can refresh.
    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    struct Cell {
        std::string text;
        std::uint32_t color = kDefaultColor;
    };
    void changed();

    std::vector<std::vector<Cell>> m_cells; // [row][column], 2 columns
    int m_row = 0;
    int m_col = 0;
    std::function<void()> m_listener;
};

} // namespace sedilo::rooms
