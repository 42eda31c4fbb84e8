#pragma once

#include <functional>

#include "CoreGridModel.h"
#include "rooms/RoomGrid.h"

namespace sedilo::gui {

// `ksgrid`: the room list; a cell with a colour of its own shows its text in it.
class RoomGridModel : public CoreGridModel {
    Q_OBJECT
public:
    explicit RoomGridModel(rooms::RoomGrid& grid, QObject* parent = nullptr);
    ~RoomGridModel() override;

    // The tooltip of every cell of a data row (1-based), for a row that is not blank.
    void setRowToolTip(std::function<std::string(int row)> toolTip) { m_rowToolTip = std::move(toolTip); }

protected:
    int gridRows() const override { return m_grid.Rows(); }
    int gridColumns() const override { return 2; }
    std::string gridText(int row, int column) const override { return m_grid.TextMatrix(row, column); }
    QColor gridColor(int row, int column) const override;
    std::string gridToolTip(int row, int column) const override;

private:
    rooms::RoomGrid& m_grid;
    std::function<std::string(int row)> m_rowToolTip;
};

} // namespace sedilo::gui
