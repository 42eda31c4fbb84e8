#include "basedata/ExamineeList.h"

#include <limits>
#include <stdexcept>

namespace sedilo::basedata {

void ExamineeList::append(const Cells& cells)
{
    for (const std::string& text : cells) {
        if (m_text.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("the examinee list passes 4 GB of text");
        m_text += text;
        m_ends.push_back(static_cast<std::uint32_t>(m_text.size()));
    }
}

std::string_view ExamineeList::cell(std::size_t examinee, int column) const
{
    const std::size_t at = examinee * 4 + static_cast<std::size_t>(column);
    const std::uint32_t begin = at == 0 ? 0 : m_ends[at - 1];
    return std::string_view(m_text).substr(begin, m_ends[at] - begin);
}

} // namespace sedilo::basedata
