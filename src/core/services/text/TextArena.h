#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/text/GrowableArray.h"

namespace sedilo {

// Many short texts in one block with an offset each: a large list's texts
// cost their bytes and four more each, not a string apiece.
class TextArena {
public:
    std::size_t size() const { return m_ends.size(); }
    std::string_view at(std::size_t index) const
    {
        const std::uint32_t begin = index == 0 ? 0 : m_ends[index - 1];
        return std::string_view(m_text.data() + begin, m_ends[index] - begin);
    }

    // Throws std::length_error past 4 GB of text.
    void append(std::string_view text);

private:
    GrowableArray<char> m_text;
    GrowableArray<std::uint32_t> m_ends;
};

} // namespace sedilo
