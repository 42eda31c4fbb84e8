#include "rooms/RoomGrid.h"

#include <stdexcept>

#include "services/text/Trim.h"

namespace sedilo::rooms {

namespace {
constexpr int kColumns = 2;
} // namespace

RoomGrid::RoomGrid()
    : m_cells(2, std::vector<Cell>(kColumns))
{
}

int RoomGrid::Rows() const
{
    return static_cast<int>(m_cells.size());
}

void RoomGrid::setRows(int rows)
{
    // The header and at least one data row always stay.
    if (rows < 2)
        throw std::invalid_argument("room grid: Rows must be at least 2, not " + std::to_string(rows));
    if (rows == Rows())
        return;
    m_cells.resize(static_cast<std::size_t>(rows), std::vector<Cell>(kColumns));
    if (m_row >= rows)
        m_row = rows - 1;
    changed();
}

namespace {
void checkCell(int row, int column, int rows)
{
    if (row < 0 || row >= rows || column < 0 || column >= kColumns)
        throw std::out_of_range("room grid: no cell (" + std::to_string(row) + ", " + std::to_string(column)
                                + ") in " + std::to_string(rows) + " rows");
}
} // namespace

std::string RoomGrid::TextMatrix(int row, int column) const
{
    checkCell(row, column, Rows());
    return m_cells[row][column].text;
}

void RoomGrid::setTextMatrix(int row, int column, const std::string& text)
{
    checkCell(row, column, Rows());
    auto& cell = m_cells[row][column].text;
    if (cell == text)
        return;
    cell = text;
    changed();
}

void RoomGrid::setRow(int row)
{
    checkCell(row, 0, Rows());
    if (m_row == row)
        return;
    m_row = row;
    changed();
}

void RoomGrid::setCol(int column)
{
    checkCell(0, column, Rows());
    if (m_col == column)
        return;
    m_col = column;
    changed();
}

void RoomGrid::RemoveItem(int row)
{
    if (row < 1 || row >= Rows())
        throw std::out_of_range("room grid: no data row " + std::to_string(row) + " to remove");
    if (Rows() == 2)
        throw std::logic_error("room grid: the last data row cannot be removed");
    m_cells.erase(m_cells.begin() + row);
    if (m_row >= Rows())
        m_row = Rows() - 1;
    changed();
}

void RoomGrid::Clear()
{
    for (auto& row : m_cells) {
        for (auto& cell : row)
            cell = Cell{};
    }
    changed();
}

std::uint32_t RoomGrid::cellColor(int row, int column) const
{
    checkCell(row, column, Rows());
    return m_cells[row][column].color;
}

void RoomGrid::resetRowColors(int row)
{
    checkCell(row, 0, Rows());
    for (auto& cell : m_cells[row])
        cell.color = kDefaultColor;
    changed();
}

void RoomGrid::setCurrentCellColor(std::uint32_t rgb)
{
    checkCell(m_row, m_col, Rows());
    auto& color = m_cells[m_row][m_col].color;
    if (color == rgb)
        return;
    color = rgb;
    changed();
}

bool RoomGrid::isBlankRow(int row) const
{
    return trimSpaces(TextMatrix(row, 0)).empty();
}

void RoomGrid::changed()
{
    if (m_listener)
        m_listener();
}

} // namespace sedilo::rooms
