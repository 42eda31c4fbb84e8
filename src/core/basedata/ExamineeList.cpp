#include "basedata/ExamineeList.h"

namespace sedilo::basedata {

void ExamineeList::append(const Cells& cells)
{
    for (const std::string& text : cells)
        m_texts.append(text);
}

std::string_view ExamineeList::cell(std::size_t examinee, int column) const
{
    return m_texts.at(examinee * 4 + static_cast<std::size_t>(column));
}

} // namespace sedilo::basedata
