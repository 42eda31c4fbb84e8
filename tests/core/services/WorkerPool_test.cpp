#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "services/threads/WorkerPool.h"

using sedilo::WorkerPool;

// Every task runs once, even those still waiting when the pool ends, and a
// task's exception reaches its own future only.
TEST(WorkerPool, RunsEveryTaskAndKeepsFailuresToTheirFutures)
{
    std::atomic<int> ran = 0;
    {
        WorkerPool pool(2);
        auto failing = pool.submit([]() -> int { throw std::runtime_error("task failed"); });
        auto value = pool.submit([] { return 42; });
        for (int i = 0; i < 500; ++i)
            pool.submit([&ran] { ++ran; });
        EXPECT_THROW(failing.get(), std::runtime_error);
        EXPECT_EQ(value.get(), 42);
    }
    EXPECT_EQ(ran, 500);
}
