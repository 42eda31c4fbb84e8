#include <gtest/gtest.h>

#include "export/ExportProgress.h"

using namespace sedilo;

TEST(ExportProgressTest, ShowsFirstEveryHundredthAndTheLastCount)
{
    ProgressControl bar;
    std::vector<std::string> statuses;
    bar.setListener([&](const ProgressState& state) {
        if (statuses.empty() || statuses.back() != state.status)
            statuses.push_back(state.status);
    });
    exporting::ExportProgress progress(bar);
    for (int i = 0; i < 250; ++i)
        progress.count();
    progress.flush();
    progress.flush();

    EXPECT_EQ(statuses, (std::vector<std::string>{"", "正在导出第1位考生！", "正在导出第100位考生！",
                                                  "正在导出第200位考生！", "正在导出第250位考生！"}));
    EXPECT_EQ(bar.state().value, 250);
}
