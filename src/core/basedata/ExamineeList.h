#pragma once

#include <array>
#include <string>
#include <string_view>

#include "services/text/TextArena.h"

namespace sedilo::basedata {

// The examinees read from a base-data worksheet, their four trimmed texts
// (name, exam number, unit, score) in one block: about the bytes of the texts
// and sixteen more per examinee.
class ExamineeList {
public:
    using Cells = std::array<std::string, 4>;

    void append(const Cells& cells);
    std::size_t size() const { return m_texts.size() / 4; }
    std::string_view cell(std::size_t examinee, int column) const;

    // The last used row of the worksheet (see ExamineeSheetReader::lastRow).
    int lastRow = 0;

private:
    TextArena m_texts; // four per examinee
};

} // namespace sedilo::basedata
