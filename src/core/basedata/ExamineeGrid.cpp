#include "basedata/ExamineeGrid.h"

namespace sedilo::basedata {

const ExamineeGrid::Row ExamineeGrid::kHeaders = {"序 号", "姓   名", "考   号", "单   位", "成   绩"};

ExamineeGrid::ExamineeGrid() : m_rows{kHeaders, Row{}} {}

void ExamineeGrid::assign(std::vector<Row> rows)
{
    m_rows = std::move(rows);
    if (m_listener)
        m_listener();
}

void ExamineeGrid::reset()
{
    assign({kHeaders, Row{}});
}

} // namespace sedilo::basedata
