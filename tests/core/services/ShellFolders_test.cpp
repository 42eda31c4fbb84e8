#include <gtest/gtest.h>

#include "services/Messages.h"
#include "services/ShellFolders.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;

TEST(ShellFoldersTest, ChooseExcelFileTrimsAndCancelGivesEmptyText)
{
    test::ScriptedDialogs dialogs;
    dialogs.nextFile("  /home/exam/不存在的表.xls  ");
    EXPECT_EQ(ChooseExcelFile(dialogs, "选择Excel文件"), "/home/exam/不存在的表.xls");
    EXPECT_EQ(ChooseExcelFile(dialogs, "选择Excel模板文件"), ""); // cancelled
    EXPECT_EQ(dialogs.titles, (std::vector<std::string>{"选择Excel文件", "选择Excel模板文件"}));
}

TEST(ShellFoldersTest, BrowseForFolderUsesDefaultTitleWhenNoneGiven)
{
    test::ScriptedDialogs dialogs;
    dialogs.nextFolder("/srv");
    EXPECT_EQ(BrowseForFolder(dialogs), "/srv");
    EXPECT_EQ(BrowseForFolder(dialogs, ""), "");
    EXPECT_EQ(dialogs.titles, (std::vector<std::string>{"Select a folder.", "Select a folder."}));
}

TEST(ShellFoldersTest, ChooseOutputFolderEndsTheTextWithOneSeparator)
{
    test::ScriptedDialogs dialogs;
    std::string ksoutpath;
    dialogs.nextFolder("/home/exam/考场");
    ChooseOutputFolder(ksoutpath, dialogs);
    EXPECT_EQ(ksoutpath, "/home/exam/考场/");
    EXPECT_EQ(dialogs.titles.back(), "选择考室编排文件生成路径");

    dialogs.nextFolder("/");
    ChooseOutputFolder(ksoutpath, dialogs);
    EXPECT_EQ(ksoutpath, "/");

    dialogs.nextFolder(" /tmp/out ");
    ChooseOutputFolder(ksoutpath, dialogs);
    EXPECT_EQ(ksoutpath, "/tmp/out/");
}

TEST(ShellFoldersTest, CancelledOrBlankFolderKeepsTheEarlierText)
{
    test::ScriptedDialogs dialogs;
    std::string ksoutpath = "/tmp/earlier/";
    ChooseOutputFolder(ksoutpath, dialogs); // cancelled
    dialogs.nextFolder("   ");
    ChooseOutputFolder(ksoutpath, dialogs);
    EXPECT_EQ(ksoutpath, "/tmp/earlier/");
}

TEST(ShellFoldersTest, GenerationTabButtonRefusesAnEmptyOrBlankFolder)
{
    for (const std::string text : {"", "   "}) {
        test::ScriptedDialogs dialogs;
        test::ScriptedPrompt prompt;
        OpenOutputFolder(OutputFolderButton::PushButton11, text, dialogs, prompt);
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
        EXPECT_EQ(prompt.shown()[0].text, messages::kNoOutputFolder);
        EXPECT_TRUE(dialogs.openedFolders.empty());
    }
}

TEST(ShellFoldersTest, ExportTabButtonIgnoresOnlyATrulyEmptyText)
{
    test::ScriptedDialogs dialogs;
    test::ScriptedPrompt prompt;
    OpenOutputFolder(OutputFolderButton::PushButton4, "", dialogs, prompt);
    EXPECT_TRUE(dialogs.openedFolders.empty());
    OpenOutputFolder(OutputFolderButton::PushButton4, "   ", dialogs, prompt);
    EXPECT_EQ(dialogs.openedFolders, (std::vector<std::string>{"   "}));
    EXPECT_TRUE(prompt.shown().empty());
}

TEST(ShellFoldersTest, BothButtonsPassTheTypedTextUnchanged)
{
    test::ScriptedDialogs dialogs;
    test::ScriptedPrompt prompt;
    OpenOutputFolder(OutputFolderButton::PushButton11, " /tmp/typed", dialogs, prompt);
    OpenOutputFolder(OutputFolderButton::PushButton4, " /tmp/typed", dialogs, prompt);
    EXPECT_EQ(dialogs.openedFolders, (std::vector<std::string>{" /tmp/typed", " /tmp/typed"}));
    EXPECT_TRUE(prompt.shown().empty());
}

TEST(ShellFoldersTest, ADesktopWithoutAFileBrowserIsToldWithThePath)
{
    for (const auto button : {OutputFolderButton::PushButton11, OutputFolderButton::PushButton4}) {
        test::ScriptedDialogs dialogs;
        test::ScriptedPrompt prompt;
        dialogs.setCanOpenDocuments(false);
        OpenOutputFolder(button, "/srv/out/", dialogs, prompt);
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
        EXPECT_EQ(prompt.shown()[0].text, "无法打开输出文件夹！\n原因：桌面没有能打开“/srv/out/”的程序（没有找到xdg-open）。");
    }
}

TEST(ShellFoldersTest, AnExistingFolderTypedWithoutSeparatorIsThatFolder)
{
    test::TempDir dir;
    const std::string folder = dir.path().string();
    EXPECT_EQ(OutputFolderText(" " + folder + " "), folder + "/");
    EXPECT_EQ(OutputFolderText(folder + "/"), folder + "/");
    EXPECT_EQ(OutputFolderText(folder + "/out"), folder + "/out"); // no folder: joined as typed
    test::ScriptedDialogs dialogs;
    test::ScriptedPrompt prompt;
    OpenOutputFolder(OutputFolderButton::PushButton11, " " + folder, dialogs, prompt);
    OpenOutputFolder(OutputFolderButton::PushButton4, folder, dialogs, prompt);
    EXPECT_EQ(dialogs.openedFolders, (std::vector<std::string>{folder + "/", folder + "/"}));
}
