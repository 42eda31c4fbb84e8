#include <gtest/gtest.h>

#include "BaseDataTestBed.h"
#include "basedata/ClearBaseData.h"

using namespace sedilo;
using namespace sedilo::basedata;
using sedilo::test::BaseDataTestBed;
using Row = ExamineeGrid::Row;

using ClearBaseDataTest = BaseDataTestBed;

TEST_F(ClearBaseDataTest, EmptiesBaseDataAndResetsTheGridOnly)
{
    ASSERT_TRUE(importFrom(makeExaminees("book", 6)).succeeded);
    const std::string path = m_tab.sjlj;
    const ProgressState bar = m_tab.Prbar.state();
    m_prompt.clear();

    ClearBaseData(m_tab, m_database, m_prompt);

    EXPECT_TRUE(storedExaminees().empty());
    EXPECT_EQ(m_tab.sjgrid.Rows(), 2);
    EXPECT_EQ(m_tab.sjgrid.row(0), ExamineeGrid::kHeaders);
    EXPECT_EQ(m_tab.sjgrid.row(1), Row{});
    EXPECT_EQ(m_tab.sjlj, path);
    EXPECT_EQ(m_tab.Prbar.state().value, bar.value);
    ASSERT_EQ(m_prompt.shown().size(), 1u);
    EXPECT_EQ(m_prompt.shown()[0].style, PromptStyle::Information);
    EXPECT_EQ(m_prompt.shown()[0].text, kBaseDataCleared);

    // Clearing what is already empty is no error.
    m_prompt.clear();
    ClearBaseData(m_tab, m_database, m_prompt);
    EXPECT_EQ(m_prompt.texts(), std::vector<std::string>{kBaseDataCleared});
}

TEST(ClearBaseData, DatabaseFailureIsShownAndTheGridKept)
{
    test::TempDir dir;
    store::SeatingDatabase database(dir.file("missing/folder/data.mdb"));
    test::ScriptedPrompt prompt;
    BaseDataTab tab;
    tab.sjgrid.assign({ExamineeGrid::kHeaders, {"1", "甲", "1", "", ""}, {" ", "", "", "", ""}});

    ClearBaseData(tab, database, prompt);

    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].headline(), kClearingFailed);
    EXPECT_FALSE(prompt.shown()[0].detail.empty());
    EXPECT_EQ(tab.sjgrid.Rows(), 3);
}
