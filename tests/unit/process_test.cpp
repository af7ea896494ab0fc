// Child processes and probes at once: time limits, process groups, signals, the order of results.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

#include "engine/core/Reporter.h"
#include "engine/probe/Interrupt.h"
#include "engine/probe/Parallel.h"
#include "engine/probe/ProcessRunner.h"
#include "tests/support/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

class Process : public testing::Test {
protected:
    void SetUp() override { Dir = kxtest::MakeTempDir("process"); }
    void TearDown() override { kxtest::RemoveTree(Dir); }
    ProcessOutcome Run(const std::string& command, unsigned timeout = 0)
    {
        return RunProcess({{"/bin/sh", "-c", command}, Dir, Dir + "/out", Dir + "/err", timeout});
    }
    std::string Dir;
};

}  // namespace

// (Exit status, output and signals of a child are what every test that runs a program sees.)
TEST_F(Process, TimeLimitEndsTheWholeProcessGroup)
{
    EXPECT_FALSE(RunProcess({{Dir + "/missing"}, Dir, Dir + "/out", Dir + "/err", 0}).Started);
    const auto start = Clock::now();
    EXPECT_TRUE(Run("sleep 30 & echo $! > child; sleep 30", 1).TimedOut);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    const std::string child = kxtest::ReadFile(Dir + "/child");
    ASSERT_FALSE(child.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string state = kxtest::ReadFile("/proc/" + child.substr(0, child.find('\n')) + "/stat");
    EXPECT_TRUE(state.empty() || state.find(") Z ") != std::string::npos) << "the compiler's own children end with it: " << state;
}

// (That a signal to the engine ends the running child promptly is the hostile tests' proof.)
TEST_F(Process, NoChildStartsOnceTheEngineIsAskedToEnd)
{
    Interrupt::Install();
    kill(getpid(), SIGTERM);
    for (int i = 0; i < 500 && Interrupt::Pending() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_THROW(Run("touch started"), RunInterrupted);
    EXPECT_FALSE(kxtest::FileExists(Dir + "/started"));
    Interrupt::Reset();
    EXPECT_TRUE(Run("true").Succeeded());
}

TEST(Parallel, ResultsAndMessagesComeInTheOrderOfTheItemsAndAFailingItemStopsTheRest)
{
    for (unsigned jobs : {1u, 4u}) {
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < 20; ++i)
            expected.insert(expected.end(), {"item " + std::to_string(i), "done " + std::to_string(i * i)});
        MemoryReporter captured;
        ParallelInOrder(
            captured, jobs, 20,
            [&](std::size_t i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20 - i));  // later items finish first
                captured.Say("item " + std::to_string(i));
                return i * i;
            },
            [&](std::size_t, std::size_t square) { captured.Say("done " + std::to_string(square)); });
        EXPECT_EQ(captured.Take(), expected) << jobs;
    }
    std::atomic<int> started{0};
    auto item = [&](std::size_t i) {
        ++started;
        if (i == 3)
            throw RunInterrupted{SIGINT};
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 0;
    };
    MemoryReporter stopped;
    EXPECT_THROW(ParallelInOrder(stopped, 2, 1000, item, [](std::size_t, int) {}), RunInterrupted);
    EXPECT_LT(started.load(), 100);
}
