#include "export/ExportRows.h"

#include "services/text/Trim.h"

namespace sedilo::exporting {

ExportRows::ExportRows(store::SelectedRows rows) : m_rows(std::move(rows))
{
    m_seated.reserve(m_rows.size());
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (!onlySpaces(m_rows.text(row, Room)))
            m_seated.push_back(static_cast<std::uint32_t>(row));
    }
}

} // namespace sedilo::exporting
