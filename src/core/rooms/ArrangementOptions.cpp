#include "rooms/ArrangementOptions.h"

#include "store/Statements.h"

namespace sedilo::rooms {

void ArrangementOptions::clickFillBox(int index)
{
    m_fill[index] = !m_fill[index];
    if (m_fill[index])
        m_fill[1 - index] = false;
}

void ArrangementOptions::clickOrderingBox(int index)
{
    m_ordering[index] = !m_ordering[index];
    if (!m_ordering[index])
        return;
    for (int other = 0; other < static_cast<int>(m_ordering.size()); ++other) {
        if (other != index)
            m_ordering[other] = false;
    }
}

FillDirection ArrangementOptions::fillDirection() const
{
    return m_fill[0] ? FillDirection::Horizontal : FillDirection::Vertical;
}

std::optional<ExamineeOrdering> ArrangementOptions::ordering() const
{
    static constexpr ExamineeOrdering kByBox[] = {
        ExamineeOrdering::Name, ExamineeOrdering::Number, ExamineeOrdering::ScoreDescending,
        ExamineeOrdering::ScoreAscending, ExamineeOrdering::Random,
    };
    for (int box = 0; box < 5; ++box) {
        if (m_ordering[box])
            return kByBox[box];
    }
    return std::nullopt;
}

const char* orderingStatement(ExamineeOrdering ordering)
{
    switch (ordering) {
    case ExamineeOrdering::Name: return store::sql::kOrderByName;
    case ExamineeOrdering::Number: return store::sql::kOrderByNumber;
    case ExamineeOrdering::ScoreDescending: return store::sql::kOrderByScoreDesc;
    case ExamineeOrdering::ScoreAscending: return store::sql::kOrderByScoreAsc;
    case ExamineeOrdering::Random: return store::sql::kOrderByRandom;
    }
    return store::sql::kOrderByScoreDesc;
}

} // namespace sedilo::rooms
