#include "basedata/ExamineeGrid.h"

#include <stdexcept>

namespace sedilo::basedata {

const ExamineeGrid::Row ExamineeGrid::kHeaders = {"序 号", "姓   名", "考   号", "单   位", "成   绩"};

ExamineeGrid::ExamineeGrid() : m_rows{kHeaders, Row{}} {}

int ExamineeGrid::Rows() const
{
    return m_examinees ? static_cast<int>(m_examinees->size()) + 2 : static_cast<int>(m_rows.size());
}

ExamineeGrid::Row ExamineeGrid::row(int index) const
{
    if (!m_examinees)
        return m_rows.at(static_cast<std::size_t>(index));
    if (index < 0 || index >= Rows())
        throw std::out_of_range("no row " + std::to_string(index) + " in the examinee grid");
    if (index == 0)
        return kHeaders;
    if (index == Rows() - 1)
        return {" ", "", "", "", ""};
    const auto examinee = static_cast<std::size_t>(index - 1);
    const ExamineeList& list = *m_examinees;
    return {std::to_string(index), std::string(list.cell(examinee, 0)), std::string(list.cell(examinee, 1)),
            std::string(list.cell(examinee, 2)), std::string(list.cell(examinee, 3))};
}

void ExamineeGrid::assign(std::vector<Row> rows)
{
    m_examinees.reset();
    m_rows = std::move(rows);
    if (m_listener)
        m_listener();
}

void ExamineeGrid::assign(std::shared_ptr<const ExamineeList> examinees)
{
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_examinees = std::move(examinees);
    if (m_listener)
        m_listener();
}

void ExamineeGrid::reset()
{
    assign({kHeaders, Row{}});
}

} // namespace sedilo::basedata
