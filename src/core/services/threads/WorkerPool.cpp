#include "services/threads/WorkerPool.h"

#include <system_error>

namespace sedilo {

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_ready.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void WorkerPool::enqueue(std::function<void()> task)
{
    if (m_threads.empty()) {
        for (unsigned i = 0; i < m_wanted; ++i) {
            try {
                m_threads.emplace_back([this] { serve(); });
            } catch (const std::system_error&) {
                break; // the threads there are will do
            }
        }
    }
    if (m_threads.empty()) {
        task(); // slower, and the same outcome
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_ready.notify_one();
}

void WorkerPool::serve()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_ending || !m_tasks.empty(); });
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task(); // a packaged task: its exception goes to its future
    }
}

} // namespace sedilo
