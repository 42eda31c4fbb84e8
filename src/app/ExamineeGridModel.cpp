#include "ExamineeGridModel.h"

namespace sedilo::gui {

ExamineeGridModel::ExamineeGridModel(basedata::ExamineeGrid& grid, QObject* parent)
    : CoreGridModel(parent), m_grid(grid)
{
    m_grid.setChangeListener([this] { gridChanged(); });
    refresh();
}

ExamineeGridModel::~ExamineeGridModel()
{
    m_grid.setChangeListener({});
}

} // namespace sedilo::gui
