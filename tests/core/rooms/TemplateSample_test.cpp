#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "rooms/TemplateSample.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;
namespace fs = std::filesystem;

namespace {
std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The shipped sample in a folder of its own, standing in for the program folder.
class TemplateSampleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy_file(test::dataPath("ksmb.xlsx"), programFolder.path() / "ksmb.xlsx");
        sampleBytes = readAll(programFolder.path() / "ksmb.xlsx");
    }

    test::TempDir programFolder;
    std::string sampleBytes;
    test::ScriptedPrompt prompt;
    test::ScriptedDialogs dialogs;
};
} // namespace

TEST_F(TemplateSampleTest, DesktopGetsAReadOnlyCopyAndTheSampleStaysAsShipped)
{
    const fs::path sample = programFolder.path() / "ksmb.xlsx";
    const auto permsBefore = fs::status(sample).permissions();

    const std::string copy = rooms::OpenTemplateSample(programFolder.path().string(), dialogs, prompt);
    ASSERT_FALSE(copy.empty());
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(dialogs.openedDocuments, std::vector<std::string>{copy});
    EXPECT_NE(fs::path(copy).parent_path(), programFolder.path());
    EXPECT_EQ(fs::path(copy).filename(), "ksmb.xlsx");
    EXPECT_EQ(readAll(copy), sampleBytes);
    const auto perms = fs::status(copy).permissions();
    EXPECT_EQ(perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write), fs::perms::none);

    // A second click gets a fresh copy of its own.
    const std::string second = rooms::OpenTemplateSample(programFolder.path().string(), dialogs, prompt);
    EXPECT_NE(fs::path(second).parent_path(), fs::path(copy).parent_path());

    EXPECT_EQ(readAll(sample), sampleBytes);
    EXPECT_EQ(fs::status(sample).permissions(), permsBefore);
    fs::remove_all(fs::path(copy).parent_path());
    fs::remove_all(fs::path(second).parent_path());
}

TEST_F(TemplateSampleTest, MissingSampleGivesTheExcelMessageWithTheCause)
{
    fs::remove(programFolder.path() / "ksmb.xlsx");
    EXPECT_EQ(rooms::OpenTemplateSample(programFolder.path().string(), dialogs, prompt), "");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].style, PromptStyle::Error);
    EXPECT_EQ(prompt.shown()[0].text, "你的电脑可能没安装完整版的Excel！");
    EXPECT_NE(prompt.shown()[0].detail.find("ksmb.xlsx"), std::string::npos);
    EXPECT_TRUE(dialogs.openedDocuments.empty());
}

TEST_F(TemplateSampleTest, NoDesktopApplicationGivesTheExcelMessageWithTheCause)
{
    dialogs.setCanOpenDocuments(false);
    EXPECT_EQ(rooms::OpenTemplateSample(programFolder.path().string(), dialogs, prompt), "");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].text.rfind("你的电脑可能没安装完整版的Excel！\n原因：桌面没有能打开", 0), 0u);
    EXPECT_NE(prompt.shown()[0].text.find("ksmb.xlsx"), std::string::npos);
    EXPECT_EQ(readAll(programFolder.path() / "ksmb.xlsx"), sampleBytes);
}
