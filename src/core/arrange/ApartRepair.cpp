#include "arrange/ApartRepair.h"

#include <algorithm>
#include <cstdlib>

namespace sedilo::arrange {

namespace {

constexpr long kReach = 64;
constexpr int kSwapRounds = 3;
// The search runs only over a few clashes left, a bounded number of steps.
constexpr long kSearchPairs = 512;
constexpr long kStepsPerPair = 4000;
constexpr long kMostSteps = 100000;
constexpr long kStepsPerSeat = 20;
constexpr long kTabuSteps = 12;

class Repair {
public:
    Repair(const SeatSequence& seats, ApartPlacement& placed, long window)
        : m_seats(seats), m_placed(placed), m_window(window), m_reach(std::min(window, kReach))
    {
    }

    // Swaps that lower the count, seat by seat, then a search that may also
    // pass through equal or slightly worse states to get out of a corner
    // that no single swap leaves.
    void run()
    {
        for (int round = 0; round < kSwapRounds; ++round) {
            bool improved = false;
            for (long p = 0; p < m_seats.size(); ++p)
                improved = (clashes(p) > 0 && improveBySwap(p)) || improved;
            if (!improved)
                break;
        }
        search();
    }

private:
    bool within(long examinee, long position) const { return std::abs(examinee - position) <= m_window; }

    long clashes(long position) const { return unitAround(position, m_placed.unitAt[position], -1); }

    // How many of `unit` sit around `position`, `apart` left out.
    long unitAround(long position, int unit, long apart) const
    {
        long count = 0;
        for (const std::int32_t other : m_seats.neighbours(position))
            count += other != apart && m_placed.unitAt[other] == unit;
        return count;
    }

    bool movable(long p, long q) const
    {
        return q != p && m_placed.unitAt[q] != m_placed.unitAt[p] && within(m_placed.examineeAt[p], q)
               && within(m_placed.examineeAt[q], p);
    }

    // The change in pairs sharing a unit if p and q (of two units) swap.
    long swapGain(long p, long q) const
    {
        const int unit = m_placed.unitAt[p];
        const int otherUnit = m_placed.unitAt[q];
        // The units differ, so the pair p-q itself never counts.
        return unitAround(p, otherUnit, q) + unitAround(q, unit, p) - unitAround(p, unit, q)
               - unitAround(q, otherUnit, p);
    }

    void swap(long p, long q)
    {
        std::swap(m_placed.examineeAt[p], m_placed.examineeAt[q]);
        std::swap(m_placed.unitAt[p], m_placed.unitAt[q]);
    }

    long first(long p) const { return std::max(0L, p - m_reach); }
    long last(long p) const { return std::min(m_seats.size() - 1, p + m_reach); }

    bool improveBySwap(long p)
    {
        for (long q = first(p); q <= last(p); ++q) {
            if (movable(p, q) && swapGain(p, q) < 0) {
                swap(p, q);
                return true;
            }
        }
        return false;
    }

    long totalPairs() const { return static_cast<long>(sameUnitPairs(m_seats, m_placed.unitAt).size()); }

    void noteIfClashing(long position)
    {
        if (!m_listed[position] && clashes(position) > 0) {
            m_listed[position] = true;
            m_clashing.push_back(position);
        }
    }

    // Min-conflicts with a short tabu list: a clashing seat takes the best swap
    // open to it, even one that gains nothing, and the seats just swapped rest
    // for a few steps unless a swap of theirs beats the best count so far.
    void search()
    {
        long total = totalPairs();
        if (total == 0 || total > kSearchPairs)
            return;
        const long size = m_seats.size();
        m_listed.assign(static_cast<std::size_t>(size), false);
        for (long p = 0; p < size; ++p)
            noteIfClashing(p);
        std::vector<long> restUntil(static_cast<std::size_t>(size), -1);
        ApartPlacement best = m_placed;
        long bestTotal = total;
        unsigned random = 2463534242u;
        const auto next = [&random] {
            random ^= random << 13;
            random ^= random >> 17;
            random ^= random << 5;
            return random;
        };
        const long steps = std::min({total * kStepsPerPair, kMostSteps, size * kStepsPerSeat});
        for (long step = 0; step < steps && total > 0 && !m_clashing.empty(); ++step) {
            const std::size_t pick = next() % m_clashing.size();
            const long p = m_clashing[pick];
            if (clashes(p) == 0) {
                m_listed[p] = false;
                m_clashing[pick] = m_clashing.back();
                m_clashing.pop_back();
                continue;
            }
            long chosen = -1;
            long chosenGain = 0;
            unsigned ties = 0;
            for (long q = first(p); q <= last(p); ++q) {
                if (!movable(p, q))
                    continue;
                const long gain = swapGain(p, q);
                const bool resting = restUntil[q] > step && total + gain >= bestTotal;
                if (resting || (chosen >= 0 && gain > chosenGain))
                    continue;
                if (chosen < 0 || gain < chosenGain) {
                    chosen = q;
                    chosenGain = gain;
                    ties = 1;
                } else if (next() % ++ties == 0) {
                    chosen = q;
                }
            }
            if (chosen < 0)
                continue;
            swap(p, chosen);
            total += chosenGain;
            restUntil[p] = restUntil[chosen] = step + kTabuSteps;
            for (const long moved : {p, chosen}) {
                noteIfClashing(moved);
                for (const std::int32_t other : m_seats.neighbours(moved))
                    noteIfClashing(other);
            }
            if (total < bestTotal) {
                bestTotal = total;
                best = m_placed;
            }
        }
        if (bestTotal < total)
            m_placed = std::move(best);
    }

    const SeatSequence& m_seats;
    ApartPlacement& m_placed;
    long m_window;
    long m_reach;
    std::vector<long> m_clashing; // seats that clashed when last looked at
    std::vector<bool> m_listed;
};

} // namespace

void repairApart(const SeatSequence& seats, ApartPlacement& placed, long window)
{
    Repair(seats, placed, window).run();
}

} // namespace sedilo::arrange
