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
// Windows below this grow by kGentleStep places at a time.
constexpr long kGentleWindows = 60;
constexpr long kGentleStep = 10;
constexpr long kSlacks[] = {0, 6, 12};
constexpr int kFruitlessWidenings = 2;
constexpr long kShareSteps = 2;
// How many units with the most examinees left are weighed at each seat.
constexpr int kCrowdedLook = 16;
// Stepping back from a seat no unit fits: how far, how often per dead end,
// and in all per seat of the walk.
constexpr long kBackDepth = 24;
constexpr long kBackStepsPerDeadEnd = 2000;
constexpr long kBackStepsPerSeat = 4;

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

    // Where no unit fits a seat, the walk steps back over the seats just
    // filled and tries their next choices: with few units around, the dead
    // end is often made a column earlier. The steps back are bounded per dead
    // end and per walk, so a list that cannot keep the rule still walks in
    // linear time.
    Placement walk()
    {
        const long size = m_seats.size();
        Placement placed{std::vector<long>(size), std::vector<int>(size)};
        std::vector<std::vector<int>> tried(static_cast<std::size_t>(size)); // units tried at a seat this visit
        std::vector<int> taken; // units of the neighbours already seated
        long stepsLeft = size * kBackStepsPerSeat;
        long deadEnd = -1; // the seat whose dead end the current steps back are for
        long floor = 0;
        long episodeSteps = 0;
        for (long position = 0; position < size;) {
            if (position > deadEnd)
                deadEnd = -1;
            taken.clear();
            for (const std::int32_t other : m_seats.neighbours(position)) {
                if (other < position)
                    taken.push_back(placed.unitAt[other]);
            }
            auto& triedHere = tried[static_cast<std::size_t>(position)];
            int unit = fitting(position, size - position, taken, triedHere);
            if (unit < 0) {
                if (deadEnd < 0) {
                    deadEnd = position;
                    floor = std::max(0L, position - kBackDepth);
                    episodeSteps = kBackStepsPerDeadEnd;
                }
                if (position > floor && episodeSteps > 0 && stepsLeft > 0) {
                    --episodeSteps;
                    --stepsLeft;
                    --position;
                    untake(placed.unitAt[position]);
                    continue;
                }
                unit = leastClashing(position, taken);
            }
            triedHere.push_back(unit);
            placed.unitAt[position] = unit;
            placed.examineeAt[position] = take(unit);
            if (++position < size)
                tried[static_cast<std::size_t>(position)].clear();
        }
        return placed;
    }

private:
    // Where every unit clashes (or all that do not were tried): the due
    // examinee, else the earliest unit with the fewest earlier neighbours of its own.
    int leastClashing(long position, const std::vector<int>& taken) const
    {
        const auto earliest = m_byHead.begin();
        if (earliest->first <= position - m_window)
            return earliest->second; // due: the window allows no later seat
        const auto clashes = [&](int unit) { return std::count(taken.begin(), taken.end(), unit); };
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

    // The unit to seat at `position` that no earlier neighbour holds, leaving
    // out those already tried; -1 if none. The due examinee goes first, then a
    // unit holding more than its share of what is left (seated wherever it
    // may, or it ends up packed together at the end), then the earliest.
    int fitting(long position, long seatsLeft, const std::vector<int>& taken, const std::vector<int>& tried) const
    {
        const auto open = [&](int unit) {
            return std::find(taken.begin(), taken.end(), unit) == taken.end()
                   && std::find(tried.begin(), tried.end(), unit) == tried.end();
        };
        const auto earliest = m_byHead.begin();
        if (earliest->first <= position - m_window)
            return open(earliest->second) ? earliest->second : -1;
        const auto reachable = [&](int unit) { return head(unit) <= position + m_window; };
        int looked = 0;
        for (auto it = m_byCount.begin(); it != m_byCount.end() && looked < kCrowdedLook; ++it, ++looked) {
            if (it->first * m_share <= seatsLeft)
                break;
            if (open(it->second) && reachable(it->second))
                return it->second;
        }
        for (auto it = m_byHead.begin(); it != m_byHead.end() && it->first <= position + m_window; ++it) {
            if (open(it->second))
                return it->second;
        }
        return -1;
    }

    // Gives the last examinee taken of `unit` back to its queue.
    void untake(int unit)
    {
        auto& queue = m_queues[unit];
        const long left = static_cast<long>(queue.size()) - static_cast<long>(m_heads[unit]);
        if (left > 0) {
            m_byHead.erase({head(unit), unit});
            m_byCount.erase({left, unit});
        }
        --m_heads[unit];
        m_byHead.emplace(head(unit), unit);
        m_byCount.emplace(left + 1, unit);
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
    // the ordering, so it grows by small steps first; once two doublings in a
    // row gain nothing, none will.
    int fruitless = 0;
    for (long window = kFirstWindow; !best || (bestPairs > 0 && fruitless < kFruitlessWidenings && window < size * 2);
         window = window < kGentleWindows ? window + kGentleStep : window * kWindowGrowth) {
        const long before = best ? bestPairs : -1;
        std::vector<long> walked; // the last walk before its repair: another share often walks the same
        // A walk held a little inside the window leaves the repair room to
        // move the seats it could not fill; wide windows need no such room.
        for (const long slack : kSlacks) {
            if (slack > 0 && window >= kGentleWindows)
                break;
            for (long share = densest; share <= densest + kShareSteps && (!best || bestPairs > 0); ++share) {
                Placement placed = WindowedWalk(seats, units, unitCount, window - slack, share).walk();
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
        }
        if (window >= kGentleWindows)
            fruitless = before >= 0 && bestPairs >= before ? fruitless + 1 : 0;
    }
    result.examineeAt = std::move(best->examineeAt);
    result.displacement = displacementOf(result.examineeAt);
    result.sameUnitPairs = bestPairs;
    return result;
}

} // namespace sedilo::arrange
