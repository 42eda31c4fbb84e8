#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "store/SelectedRows.h"

namespace sedilo::exporting {

// The seated examinees of one export in query order, viewed in the rows the
// query read: a province's list costs its text and little more.
class ExportRows {
public:
    enum Field { Name, Number, Unit, Room, FieldCount };

    ExportRows() = default;
    // `rows` holds the four fields above, in that order. An examinee without
    // a room is left out.
    explicit ExportRows(store::SelectedRows rows);

    std::size_t size() const { return m_seated.size(); }
    std::string_view text(std::size_t row, Field field) const { return m_rows.text(m_seated[row], field); }

private:
    store::SelectedRows m_rows;
    std::vector<std::uint32_t> m_seated;
};

} // namespace sedilo::exporting
