#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <string>

#include "export/BackgroundSaves.h"

using sedilo::exporting::BackgroundSaves;

// Two at a time: a long first save must not keep the third from starting
// once the second is done, and failures still come out in the order begun.
TEST(BackgroundSaves, AFreeSlotIsTakenAtOnceAndFailuresKeepTheirOrder)
{
    std::promise<void> thirdStarted;
    std::shared_future<void> started = thirdStarted.get_future().share();
    bool thirdCameWhileFirstRan = false;
    {
        BackgroundSaves saves(2);
        saves.begin([&] {
            thirdCameWhileFirstRan = started.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
            throw std::runtime_error("first");
        });
        saves.begin([] { throw std::runtime_error("second"); });
        saves.begin([&] { thirdStarted.set_value(); });
        try {
            saves.finishAll();
            ADD_FAILURE() << "the failures were lost";
        } catch (const std::runtime_error& failure) {
            EXPECT_EQ(std::string(failure.what()), "first");
        }
        EXPECT_EQ(saves.succeeded(), 1);
    }
    EXPECT_TRUE(thirdCameWhileFirstRan);
}
