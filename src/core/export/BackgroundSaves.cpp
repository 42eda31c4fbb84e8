#include "export/BackgroundSaves.h"

#include <algorithm>
#include <chrono>

namespace sedilo::exporting {

BackgroundSaves::BackgroundSaves(std::size_t limit)
    : m_limit(std::max<std::size_t>(1, limit)), m_threads(static_cast<unsigned>(m_limit))
{
}

BackgroundSaves::~BackgroundSaves()
{
    for (auto& save : m_running) {
        try {
            save.get();
        } catch (...) {
        }
    }
}

void BackgroundSaves::begin(std::function<void()> save)
{
    waitForASlot();
    collectDone();
    {
        const std::lock_guard lock(m_mutex);
        ++m_busy;
    }
    try {
        m_running.push_back(m_threads.submit([this, save = std::move(save)] {
            struct Release {
                BackgroundSaves& saves;
                ~Release() { saves.release(); }
            } released{*this};
            save();
        }));
    } catch (...) {
        release(); // no thread took it
        throw;
    }
}

void BackgroundSaves::finishAll(std::exception_ptr failedMeanwhile)
{
    // Every save is waited for, so the count says what is on the disk.
    std::exception_ptr first;
    while (!m_running.empty()) {
        try {
            collectOldest();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (!first)
        first = failedMeanwhile;
    if (first)
        std::rethrow_exception(first);
}

void BackgroundSaves::collectOldest()
{
    std::future<void> oldest = std::move(m_running.front());
    m_running.pop_front();
    oldest.get();
    ++m_succeeded;
}

// The saves done so far from the oldest on, up to one still running.
void BackgroundSaves::collectDone()
{
    while (!m_running.empty() && m_running.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        collectOldest();
}

// Sizes differ, so waiting for the oldest save would leave a core idle
// whenever a later one is done first.
void BackgroundSaves::waitForASlot()
{
    std::unique_lock lock(m_mutex);
    m_slotFree.wait(lock, [this] { return m_busy < m_limit; });
}

void BackgroundSaves::release()
{
    {
        const std::lock_guard lock(m_mutex);
        --m_busy;
    }
    m_slotFree.notify_one();
}

} // namespace sedilo::exporting
