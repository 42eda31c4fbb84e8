#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "basedata/ExamineeList.h"

namespace sedilo::basedata {

// The examinee grid `sjgrid`: five text columns ("序 号", "姓   名", "考   号",
// "单   位", "成   绩"), row 0 the header, data rows from 1. Starts with two
// rows: the header and one empty row.
class ExamineeGrid {
public:
    using Row = std::array<std::string, 5>;
    static const Row kHeaders;

    ExamineeGrid();

    int Rows() const;
    Row row(int index) const;
    std::string TextMatrix(int rowIndex, int column) const { return row(rowIndex).at(static_cast<std::size_t>(column)); }

    // Replaces the whole content at once (header row included as row 0), so a
    // view repaints once instead of once per row.
    void assign(std::vector<Row> rows);
    // The imported examinees: the header, one numbered row per examinee and a
    // closing row, read from the list itself rather than copied, so a large
    // list costs no second time its size.
    void assign(std::shared_ptr<const ExamineeList> examinees);
    // Empty cells, two rows, header texts written again.
    void reset();

    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    std::vector<Row> m_rows;
    std::shared_ptr<const ExamineeList> m_examinees;
    std::function<void()> m_listener;
};

} // namespace sedilo::basedata
