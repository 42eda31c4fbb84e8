#include <gtest/gtest.h>

#include "rooms/DroppedTemplates.h"
#include "rooms/RoomEditor.h"
#include "support/ScriptedPrompt.h"

using namespace sedilo;
using namespace sedilo::rooms;

TEST(DroppedTemplates, OnlyWorkbooksAreTaken)
{
    EXPECT_TRUE(isDroppableWorkbook("/a/b.xlsx"));
    EXPECT_TRUE(isDroppableWorkbook("/a/B.XLS"));
    EXPECT_TRUE(isDroppableWorkbook("/a/b.xltm"));
    for (const char* other : {"/a/b.xlsb", "/a/b.pdf", "/a/xlsx", ".xls", "/a/b.xls.txt"})
        EXPECT_FALSE(isDroppableWorkbook(other)) << other;
}

TEST(DroppedTemplates, EachWorkbookBecomesARoomUnderTheNextFreeName)
{
    RoomsTab tab;
    test::ScriptedPrompt prompt;
    writeRoomGridHeaders(tab.ksgrid);
    // A room the user named 第2考室 by hand: the drop skips that name.
    tab.ksname = "第2考室";
    tab.ksmbpath = "/t/own.xlsx";
    AddRoom(tab, prompt);
    tab.ksmbpath = "/t/typed.xlsx";

    EXPECT_EQ(AddDroppedTemplates(tab, {"/t/a.xlsx", "/t/notes.txt", "/t/b.XLS"}, prompt), 2);
    EXPECT_TRUE(prompt.shown().empty());
    ASSERT_EQ(tab.ksgrid.Rows(), 4);
    EXPECT_EQ(tab.ksgrid.TextMatrix(2, 0), "第3考室");
    EXPECT_EQ(tab.ksgrid.TextMatrix(2, 1), "/t/a.xlsx");
    EXPECT_EQ(tab.ksgrid.TextMatrix(3, 0), "第4考室");
    EXPECT_EQ(tab.ksgrid.TextMatrix(3, 1), "/t/b.XLS");
    EXPECT_EQ(tab.ksmbpath, "/t/typed.xlsx");
    EXPECT_EQ(tab.ksname, "第5考室");
    EXPECT_EQ(tab.kstjstr, "当前共有3间考室");
}
