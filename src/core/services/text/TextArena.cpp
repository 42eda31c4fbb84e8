#include "services/text/TextArena.h"

#include <limits>
#include <stdexcept>

namespace sedilo {

void TextArena::append(std::string_view text)
{
    if (m_text.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("the texts pass 4 GB");
    m_text.append(text.data(), text.size());
    m_ends.push_back(static_cast<std::uint32_t>(m_text.size()));
}

} // namespace sedilo
