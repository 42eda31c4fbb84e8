#include "RoomGridModel.h"

#include <QColor>

namespace sedilo::gui {

RoomGridModel::RoomGridModel(rooms::RoomGrid& grid, QObject* parent) : CoreGridModel(parent), m_grid(grid)
{
    m_grid.setChangeListener([this] { gridChanged(); });
    refresh();
}

RoomGridModel::~RoomGridModel()
{
    m_grid.setChangeListener({});
}

QColor RoomGridModel::gridColor(int row, int column) const
{
    const std::uint32_t rgb = m_grid.cellColor(row, column);
    if (rgb == rooms::RoomGrid::kDefaultColor)
        return {};
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

std::string RoomGridModel::gridToolTip(int row, int) const
{
    if (!m_rowToolTip || m_grid.isBlankRow(row))
        return {};
    return m_rowToolTip(row);
}

} // namespace sedilo::gui
