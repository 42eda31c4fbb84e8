#include <gtest/gtest.h>

#include "services/ProgressControl.h"
#include "services/text/Trim.h"

using namespace sedilo;

TEST(TextHelpers, TrimRemovesOnlyPlainSpaces)
{
    EXPECT_EQ(trimSpaces("  张三 "), "张三");
    EXPECT_EQ(trimSpaces("   "), "");
    EXPECT_EQ(trimSpaces("\t张三\u3000"), "\t张三\u3000");
}

TEST(TextHelpers, ReplaceAllReplacesEveryOccurrenceInOrder)
{
    EXPECT_EQ(replaceAll("第座位号号 座位号", "座位号", "7"), "第7号 7");
    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

TEST(ProgressControlTest, ListenerSeesEveryChangeAsACopy)
{
    ProgressControl progress;
    std::vector<ProgressState> seen;
    progress.setListener([&](const ProgressState& state) { seen.push_back(state); });
    progress.setRange(1, 70);
    progress.setValue(5);
    progress.setStatus("正在生成第5位考生考室数据");
    progress.setMaximumValue();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].value, 5);
    EXPECT_EQ(seen[2].status, "正在生成第5位考生考室数据");
    EXPECT_EQ(progress.state().value, 70);
}
