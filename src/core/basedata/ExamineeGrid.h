#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace sedilo::basedata {

// The examinee grid `sjgrid`: five text columns ("序 号", "姓   名", "考   号",
// "单   位", "成   绩"), row 0 the header, data rows from 1. Starts with two
// rows: the header and one empty row.
class ExamineeGrid {
public:
    using Row = std::array<std::string, 5>;
    static const Row kHeaders;

    ExamineeGrid();

    int Rows() const { return static_cast<int>(m_rows.size()); }
    const Row& row(int index) const { return m_rows.at(index); }
    std::string TextMatrix(int row, int column) const { return m_rows.at(row).at(column); }

    // Replaces the whole content at once (header row included as row 0), so a
    // view repaints once instead of once per row.
    void assign(std::vector<Row> rows);
    // Empty cells, two rows, header texts written again.
    void reset();

    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    std::vector<Row> m_rows;
    std::function<void()> m_listener;
};

} // namespace sedilo::basedata
