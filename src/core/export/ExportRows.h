#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "services/text/TextArena.h"

namespace sedilo::exporting {

// The seated examinees of one export in query order, their four texts kept
// end to end in one buffer: a province's list costs its text and little more.
class ExportRows {
public:
    enum Field { Name, Number, Unit, Room, FieldCount };

    void append(const std::array<std::string_view, FieldCount>& texts)
    {
        for (const std::string_view text : texts)
            m_texts.append(text);
    }
    std::size_t size() const { return m_texts.size() / FieldCount; }
    std::string_view text(std::size_t row, Field field) const { return m_texts.at(row * FieldCount + field); }

private:
    TextArena m_texts;
};

} // namespace sedilo::exporting
