#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <mutex>

#include "services/threads/WorkerPool.h"

namespace sedilo::exporting {

// Runs saves on other threads, at most `limit` at a time, so the next
// workbook is being filled while earlier ones are compressed and written. A
// save starts as soon as any running one is done. Saves are collected in the
// order they were begun, and a failure is the one a save after save would
// have met first.
class BackgroundSaves {
public:
    explicit BackgroundSaves(std::size_t limit);
    // Waits for every save still running; their failures are dropped, as a
    // failure is already on its way out when this happens.
    ~BackgroundSaves();
    BackgroundSaves(const BackgroundSaves&) = delete;
    BackgroundSaves& operator=(const BackgroundSaves&) = delete;

    // Throws the failure of an earlier save that is done by then.
    void begin(std::function<void()> save);
    // Waits for every save, then throws the first save's failure, else
    // `failedMeanwhile` (what went wrong beside the saves, which came later).
    void finishAll(std::exception_ptr failedMeanwhile = nullptr);
    // Saves that completed without failure so far.
    int succeeded() const { return m_succeeded; }

private:
    void collectOldest();
    void collectDone();
    void waitForASlot();
    void release();

    std::size_t m_limit;
    std::deque<std::future<void>> m_running;
    int m_succeeded = 0;
    std::mutex m_mutex;
    std::condition_variable m_slotFree;
    std::size_t m_busy = 0; // saves whose work is not over yet
    // Kept for the whole export: a thread of its own for each save spent its
    // time on fresh stacks and heaps, faulting in their pages.
    WorkerPool m_threads;
};

} // namespace sedilo::exporting
