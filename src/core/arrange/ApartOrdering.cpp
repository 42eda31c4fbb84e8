#include "arrange/ApartOrdering.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <utility>

#include "arrange/ApartRepair.h"

namespace sedilo::arrange {

namespace {

constexpr long kFirstWindow = 30;
constexpr long kWindowGrowth = 2;
constexpr int kFruitlessWidenings = 2;
constexpr long kShareSteps = 2;
// How many units with the most examinees left are weighed at each seat.
constexpr int kCrowdedLook = 16;

using Placement = ApartPlacement;

// One greedy walk with a fixed window.
class WindowedWalk {
public:
    WindowedWalk(const SeatSequence& seats, const std::vector<int>& units, int unitCount, long window, long share)
        : m_seats(seats), m_window(window), m_share(share), m_queues(unitCount),
          m_heads(unitCount, 0)
    {
        for (long i = 0; i < seats.size(); ++i)
            m_queues[units[i]].push_back(i);
        for (int unit = 0; unit < unitCount; ++unit) {
            if (!m_queues[unit].empty()) {
                m_byHead.emplace(m_queues[unit].front(), unit);
                m_byCount.emplace(static_cast<long>(m_queues[unit].size()), unit);
            }
        }
    }

    Placement walk()
    {
        const long size = m_seats.size();
        Placement placed{std::vector<long>(size), std::vector<int>(size)};
        std::vector<int> taken; // units of the neighbours already seated
        for (long position = 0; position < size; ++position) {
            taken.clear();
            for (const std::int32_t other : m_seats.neighbours(position)) {
                if (other < position)
                    taken.push_back(placed.unitAt[other]);
            }
            const int unit = choose(position, size - position, taken);
            placed.unitAt[position] = unit;
            placed.examineeAt[position] = take(unit);
        }
        return placed;
    }

private:
    int choose(long position, long seatsLeft, const std::vector<int>& taken) const
    {
        const auto earliest = m_byHead.begin();
        if (earliest->first <= position - m_window)
            return earliest->second; // due: the window allows no later seat
        const auto clashes = [&](int unit) { return std::count(taken.begin(), taken.end(), unit); };
        const auto reachable = [&](int unit) { return head(unit) <= position + m_window; };
        // A unit holding more than its share of what is left must be seated
        // wherever it may, or it ends up packed together at the end.
        int looked = 0;
        for (auto it = m_byCount.begin(); it != m_byCount.end() && looked < kCrowdedLook; ++it, ++looked) {
            if (it->first * m_share <= seatsLeft)
                break;
            if (clashes(it->second) == 0 && reachable(it->second))
                return it->second;
        }
        int best = earliest->second;
        long bestClashes = clashes(best);
        for (auto it = m_byHead.begin(); it != m_byHead.end() && bestClashes > 0; ++it) {
            if (it->first > position + m_window)
                break;
            const long count = clashes(it->second);
            if (count < bestClashes) {
                best = it->second;
                bestClashes = count;
            }
        }
        return best;
    }

    long head(int unit) const { return m_queues[unit][m_heads[unit]]; }

    long take(int unit)
    {
        const long examinee = head(unit);
        auto& queue = m_queues[unit];
        const long before = static_cast<long>(queue.size()) - m_heads[unit];
        m_byHead.erase({examinee, unit});
        m_byCount.erase({before, unit});
        ++m_heads[unit];
        if (before > 1) {
            m_byHead.emplace(head(unit), unit);
            m_byCount.emplace(before - 1, unit);
        }
        return examinee;
    }

    const SeatSequence& m_seats;
    long m_window;
    long m_share; // a unit may fill one seat in m_share without touching itself
    std::vector<std::vector<long>> m_queues; // each unit's examinees in ordering sequence
    std::vector<std::size_t> m_heads;
    std::set<std::pair<long, int>> m_byHead;
    std::set<std::pair<long, int>, std::greater<>> m_byCount;
};

long displacementOf(const std::vector<long>& examineeAt)
{
    long farthest = 0;
    for (long position = 0; position < static_cast<long>(examineeAt.size()); ++position)
        farthest = std::max(farthest, std::abs(examineeAt[position] - position));
    return farthest;
}

} // namespace

ApartOrder orderApart(const SeatSequence& seats, const std::vector<int>& units, rooms::Neighbourhood neighbourhood)
{
    ApartOrder result;
    const long size = seats.size();
    if (size == 0)
        return result;
    const int unitCount = *std::max_element(units.begin(), units.begin() + size) + 1;
    // Densest spacing a unit keeps without touching itself: every other seat
    // beside, one seat in each two by two block around. Crowding is judged a
    // little earlier too, since the path seldom allows the densest spacing.
    const long densest = neighbourhood == rooms::Neighbourhood::Side ? 2 : 4;

    std::optional<Placement> best;
    long bestPairs = 0;
    // A wider window mixes blocks of one unit better but strays further from
    // the ordering; once two widenings in a row gain nothing, none will.
    int fruitless = 0;
    for (long window = kFirstWindow; !best || (bestPairs > 0 && fruitless < kFruitlessWidenings && window < size * 2);
         window *= kWindowGrowth) {
        const long before = best ? bestPairs : -1;
        std::vector<long> walked; // the last walk before its repair: another share often walks the same
        for (long share = densest; share <= densest + kShareSteps && (!best || bestPairs > 0); ++share) {
            Placement placed = WindowedWalk(seats, units, unitCount, window, share).walk();
            if (placed.examineeAt == walked)
                continue;
            walked = placed.examineeAt;
            repairApart(seats, placed, window);
            const long pairs = static_cast<long>(sameUnitPairs(seats, placed.unitAt).size());
            if (!best || pairs < bestPairs) {
                best = std::move(placed);
                bestPairs = pairs;
            }
        }
        fruitless = before >= 0 && bestPairs >= before ? fruitless + 1 : 0;
    }
    result.examineeAt = std::move(best->examineeAt);
    result.displacement = displacementOf(result.examineeAt);
    result.sameUnitPairs = bestPairs;
    return result;
}

} // namespace sedilo::arrange
