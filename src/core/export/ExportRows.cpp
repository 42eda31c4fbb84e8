#include "export/ExportRows.h"

namespace sedilo::exporting {

void ExportRows::append(const std::array<std::string_view, FieldCount>& texts)
{
    for (const std::string_view text : texts) {
        m_texts += text;
        m_ends.push_back(m_texts.size());
    }
}

std::string_view ExportRows::text(std::size_t row, Field field) const
{
    const std::size_t at = row * FieldCount + field;
    const std::size_t begin = at == 0 ? 0 : m_ends[at - 1];
    return std::string_view(m_texts).substr(begin, m_ends[at] - begin);
}

} // namespace sedilo::exporting
