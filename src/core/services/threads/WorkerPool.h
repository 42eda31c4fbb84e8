#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace sedilo {

// A few threads kept for many short tasks. A city's import parses some
// eighty blocks and encrypts a dozen batches; a thread started for each
// spent more on starting, its stack's fresh pages and its ending than a
// block's parse gains on the other core.
class WorkerPool {
public:
    // The threads start with the first task.
    explicit WorkerPool(unsigned threads) : m_wanted(threads > 0 ? threads : 1) {}
    // Runs the tasks still waiting, then ends the threads.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // `task` on one of the threads, its result or exception in the future;
    // on the caller's thread when not a single thread could be started.
    // Tasks are submitted from one thread at a time.
    template <class Task>
    std::future<std::invoke_result_t<Task&>> submit(Task task)
    {
        auto packaged = std::make_shared<std::packaged_task<std::invoke_result_t<Task&>()>>(std::move(task));
        auto result = packaged->get_future();
        enqueue([packaged] { (*packaged)(); });
        return result;
    }

private:
    void enqueue(std::function<void()> task);
    void serve();

    unsigned m_wanted;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_tasks;
    bool m_ending = false;
    std::vector<std::thread> m_threads;
};

} // namespace sedilo
