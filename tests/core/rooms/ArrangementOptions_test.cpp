#include <gtest/gtest.h>

#include <string>

#include "rooms/ArrangementOptions.h"

using namespace sedilo::rooms;

namespace {
// The ticked boxes as a pattern, "00100" for pxfschek3 alone.
std::string orderingBoxes(const ArrangementOptions& options)
{
    std::string out;
    for (int box = 0; box < 5; ++box)
        out += options.orderingBox(box) ? '1' : '0';
    return out;
}
} // namespace

TEST(ArrangementOptionsTest, StartsVerticalByScoreDescending)
{
    ArrangementOptions options;
    EXPECT_FALSE(options.fillBox(0));
    EXPECT_TRUE(options.fillBox(1));
    EXPECT_EQ(options.fillDirection(), FillDirection::Vertical);
    EXPECT_EQ(orderingBoxes(options), "00100");
    EXPECT_EQ(options.ordering(), ExamineeOrdering::ScoreDescending);
    EXPECT_STREQ(orderingStatement(*options.ordering()), "select * from jcdatatp order by 成绩 desc");
}

TEST(ArrangementOptionsTest, FillBoxesExcludeEachOtherAndNoneTickedMeansVertical)
{
    ArrangementOptions options;
    options.clickFillBox(0);
    EXPECT_TRUE(options.fillBox(0));
    EXPECT_FALSE(options.fillBox(1));
    EXPECT_EQ(options.fillDirection(), FillDirection::Horizontal);

    options.clickFillBox(1);
    EXPECT_FALSE(options.fillBox(0));
    EXPECT_TRUE(options.fillBox(1));

    options.clickFillBox(1);
    EXPECT_FALSE(options.fillBox(0));
    EXPECT_FALSE(options.fillBox(1));
    EXPECT_EQ(options.fillDirection(), FillDirection::Vertical);
}

TEST(ArrangementOptionsTest, TickingAnyOrderingBoxLeavesExactlyThatBox)
{
    const ExamineeOrdering expected[] = {ExamineeOrdering::Name, ExamineeOrdering::Number,
                                         ExamineeOrdering::ScoreDescending, ExamineeOrdering::ScoreAscending,
                                         ExamineeOrdering::Random};
    for (int from = 0; from < 5; ++from) {
        for (int to = 0; to < 5; ++to) {
            if (from == to)
                continue;
            ArrangementOptions options;
            if (!options.orderingBox(from))
                options.clickOrderingBox(from);
            options.clickOrderingBox(to);
            std::string pattern(5, '0');
            pattern[to] = '1';
            EXPECT_EQ(orderingBoxes(options), pattern) << "from " << from << " to " << to;
            EXPECT_EQ(options.ordering(), expected[to]);
        }
    }
}

TEST(ArrangementOptionsTest, UntickingTheOrderingBoxLeavesNoOrdering)
{
    ArrangementOptions options;
    options.clickOrderingBox(4);
    EXPECT_EQ(orderingBoxes(options), "00001");
    EXPECT_STREQ(orderingStatement(*options.ordering()), "select * from jcdatatp order by 随机号");
    options.clickOrderingBox(4);
    EXPECT_EQ(orderingBoxes(options), "00000");
    EXPECT_FALSE(options.ordering().has_value());

    options.clickOrderingBox(1);
    EXPECT_STREQ(orderingStatement(*options.ordering()), "select * from jcdatatp order by 考号 asc");
}
