#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "services/process/ProcessControl.h"
#include "support/NamedChildProcess.h"

using sedilo::FindProcessId;
using sedilo::KillProcess;
using sedilo::test::NamedChildProcess;

namespace {

// A name no other process on the machine carries, so parallel tests do not meet.
std::string uniqueName(const std::string& stem)
{
    return stem + "-" + std::to_string(getpid()) + ".EXE";
}

} // namespace

TEST(ProcessControl, NoMatchingProcessGivesEmptyText)
{
    EXPECT_EQ(FindProcessId(uniqueName("SEDILO-ABSENT")), "");
}

TEST(ProcessControl, FindsChildByNameAndKillsIt)
{
    const std::string name = uniqueName("SEDILO-PROBE");
    NamedChildProcess child(name);

    EXPECT_EQ(FindProcessId(name), std::to_string(child.pid()));
    // The first k characters are compared: a prefix of the name matches too.
    EXPECT_EQ(FindProcessId(name.substr(0, name.size() - 4)), std::to_string(child.pid()));

    EXPECT_NE(KillProcess(static_cast<std::uint32_t>(child.pid())), 0);
    ASSERT_TRUE(child.waitForExit(5000));
    EXPECT_EQ(child.terminatingSignal(), SIGKILL);
    EXPECT_EQ(FindProcessId(name), "");
}

TEST(ProcessControl, ComparisonIsCaseSensitive)
{
    const std::string name = uniqueName("Sedilo-Case");
    NamedChildProcess child(name);
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });

    EXPECT_EQ(FindProcessId(upper), "");
    EXPECT_EQ(FindProcessId(name), std::to_string(child.pid()));
}

TEST(ProcessControl, LaterOfTwoMatchesWins)
{
    const std::string name = uniqueName("SEDILO-TWIN");
    NamedChildProcess first(name);
    NamedChildProcess second(name);

    EXPECT_EQ(FindProcessId(name), std::to_string(std::max(first.pid(), second.pid())));
}

TEST(ProcessControl, KillRefusesWhatItMustNotTouch)
{
    EXPECT_EQ(KillProcess(0), 0); // would be our whole process group
    EXPECT_EQ(KillProcess(static_cast<std::uint32_t>(getpid())), 0);
    EXPECT_EQ(KillProcess(0xFFFFFFFFu), 0);

    // A process that has ended and been reaped is no longer there to terminate.
    NamedChildProcess child(uniqueName("SEDILO-GONE"));
    const auto pid = static_cast<std::uint32_t>(child.pid());
    ASSERT_NE(KillProcess(pid), 0);
    ASSERT_TRUE(child.waitForExit(5000));
    EXPECT_EQ(KillProcess(pid), 0);
}

TEST(ProcessControl, ProcessesEndingDuringTheSearchAreSkipped)
{
    // Reading an ending process's /proc files fails with ESRCH, which the
    // stream library reports by throwing: an import then failed at random.
    std::atomic<bool> stop = false;
    std::vector<std::thread> churn;
    for (int thread = 0; thread < 8; ++thread)
        churn.emplace_back([&] {
            while (!stop) {
                const pid_t child = fork();
                if (child == 0)
                    _exit(0);
                if (child > 0)
                    waitpid(child, nullptr, 0);
            }
        });
    bool threw = false;
    for (int search = 0; search < 600 && !threw; ++search) {
        try {
            FindProcessId("EXCEL.EXE");
        } catch (const std::exception&) {
            threw = true;
        }
    }
    stop = true;
    for (std::thread& thread : churn)
        thread.join();
    EXPECT_FALSE(threw);
}
