#pragma once

#include "CoreGridModel.h"
#include "basedata/ExamineeGrid.h"

namespace sedilo::gui {

// `sjgrid`: the imported examinees.
class ExamineeGridModel : public CoreGridModel {
    Q_OBJECT
public:
    explicit ExamineeGridModel(basedata::ExamineeGrid& grid, QObject* parent = nullptr);
    ~ExamineeGridModel() override;

protected:
    int gridRows() const override { return m_grid.Rows(); }
    int gridColumns() const override { return 5; }
    std::string gridText(int row, int column) const override { return m_grid.TextMatrix(row, column); }

private:
    basedata::ExamineeGrid& m_grid;
};

} // namespace sedilo::gui
