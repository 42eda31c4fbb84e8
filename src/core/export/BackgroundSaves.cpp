#include "export/BackgroundSaves.h"

#include <algorithm>

namespace sedilo::exporting {

BackgroundSaves::BackgroundSaves(std::size_t limit) : m_limit(std::max<std::size_t>(1, limit)) {}

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
    while (m_running.size() >= m_limit)
        collectOldest();
    m_running.push_back(std::async(std::launch::async, std::move(save)));
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

} // namespace sedilo::exporting
