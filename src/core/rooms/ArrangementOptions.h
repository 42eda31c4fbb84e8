#pragma once

#include <array>
#include <optional>

namespace sedilo::rooms {

enum class FillDirection { Horizontal, Vertical };

enum class ExamineeOrdering { Name, Number, ScoreDescending, ScoreAscending, Random };

// The two groups of tick boxes: fill direction (plfscheck1, plfscheck2) and
// examinee ordering (pxfschek1 .. pxfschek5). Values change only through the
// user's clicks, which apply the exclusion rule.
class ArrangementOptions {
public:
    // Box indexes: fill 0 = plfscheck1, 1 = plfscheck2; ordering 0..4 = pxfschek1..5.
    bool fillBox(int index) const { return m_fill[index]; }
    bool orderingBox(int index) const { return m_ordering[index]; }

    // A click toggles the box and then applies the group's rule.
    void clickFillBox(int index);
    void clickOrderingBox(int index);

    // Horizontal only when plfscheck1 is ticked.
    FillDirection fillDirection() const;
    // The ticked ordering box, tested pxfschek1 first; none when no box is ticked.
    std::optional<ExamineeOrdering> ordering() const;

private:
    std::array<bool, 2> m_fill{false, true};
    std::array<bool, 5> m_ordering{false, false, true, false, false};
};

// The statement an ordering stands for.
const char* orderingStatement(ExamineeOrdering ordering);

} // namespace sedilo::rooms
