#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sedilo::exporting {

// The seated examinees of one export in query order, their four texts kept
// end to end in one buffer: a province's list costs its text and little more.
class ExportRows {
public:
    enum Field { Name, Number, Unit, Room, FieldCount };

    void append(const std::array<std::string_view, FieldCount>& texts);
    std::size_t size() const { return m_ends.size() / FieldCount; }
    std::string_view text(std::size_t row, Field field) const;

private:
    std::string m_texts;
    std::vector<std::size_t> m_ends;
};

} // namespace sedilo::exporting
