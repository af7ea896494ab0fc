// Running child processes and probes at once: time limits, process groups, standard input,
// inherited descriptors, the order of results and messages, and files replaced whole.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

#include "engine/core/Files.h"
#include "engine/probe/Interrupt.h"
#include "engine/probe/Parallel.h"
#include "engine/probe/ProcessRunner.h"
#include "engine/core/Reporter.h"
#include "tests/support/TestSupport.h"

namespace {

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

TEST_F(Process, OutcomeOfTheChild)
{
    const ProcessOutcome ok = Run("echo out; echo err >&2; pwd");
    EXPECT_TRUE(ok.Succeeded());
    EXPECT_EQ(ok.Stdout, "out\n" + Dir + "\n");
    EXPECT_EQ(ok.Stderr, "err\n");
    EXPECT_EQ(Run("exit 3").ExitStatus, 3);
    const ProcessOutcome killed = Run("kill -SEGV $$");
    EXPECT_FALSE(killed.Exited);
    EXPECT_EQ(killed.Signal, SIGSEGV);
    // Standard input is empty: a child that reads it does not wait.
    EXPECT_EQ(Run("cat; echo done", 5).Stdout, "done\n");
    EXPECT_FALSE(RunProcess({{Dir + "/missing"}, Dir, Dir + "/out", Dir + "/err", 0}).Started);
}

TEST_F(Process, TimeLimitEndsTheWholeProcessGroup)
{
    const auto start = std::chrono::steady_clock::now();
    const ProcessOutcome outcome = Run("sleep 30 & echo $! > child; sleep 30", 1);
    EXPECT_TRUE(outcome.TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const std::string child = kxtest::ReadFile(Dir + "/child");
    ASSERT_FALSE(child.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // Gone, or a zombie that nobody has reaped yet.
    const std::string state = kxtest::ReadFile("/proc/" + child.substr(0, child.find('\n')) + "/stat");
    EXPECT_TRUE(state.empty() || state.find(") Z ") != std::string::npos) << "the compiler's own children end with it: " << state;
}

TEST_F(Process, ASignalToTheEngineEndsTheRunningChild)
{
    Interrupt::Install();
    std::thread later([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(getpid(), SIGTERM);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(Run("sleep 30"), RunInterrupted);
    later.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_THROW(Run("true"), RunInterrupted) << "no probe starts once the run is asked to end";
    Interrupt::Reset();
    EXPECT_TRUE(Run("true").Succeeded());
}

TEST(Parallel, ResultsAndMessagesComeInTheOrderOfTheItems)
{
    for (unsigned jobs : {1u, 4u}) {
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < 20; ++i)
            expected.insert(expected.end(), {"item " + std::to_string(i), "done " + std::to_string(i * i)});
        CapturedLines captured;
        ParallelInOrder(
            jobs, 20,
            [](std::size_t i) {
                // Later items finish first.
                std::this_thread::sleep_for(std::chrono::milliseconds(20 - i));
                Say("item " + std::to_string(i));
                return i * i;
            },
            [](std::size_t, std::size_t square) { Say("done " + std::to_string(square)); });
        EXPECT_EQ(captured.Take(), expected) << jobs;
    }
}

TEST(Parallel, AFailingItemStopsTheRest)
{
    std::atomic<int> started{0};
    EXPECT_THROW(ParallelInOrder(
                     2, 1000,
                     [&](std::size_t i) {
                         ++started;
                         if (i == 3)
                             throw RunInterrupted{SIGINT};
                         std::this_thread::sleep_for(std::chrono::milliseconds(1));
                         return 0;
                     },
                     [](std::size_t, int) {}),
                 RunInterrupted);
    EXPECT_LT(started.load(), 100);
}

TEST(AtomicFileTest, TheTargetChangesOnlyOnCommit)
{
    const std::string dir = kxtest::MakeTempDir("atomic");
    const std::string target = dir + "/p.p_c";
    kxtest::WriteFile(target, "old\n");
    std::string error;
    {
        // Written whole but never renamed, as a file of a set whose other file failed.
        AtomicFile file;
        ASSERT_TRUE(file.Open(target, error) && file.Write("staged\n", error)) << error;
        EXPECT_EQ(kxtest::ReadFile(target), "old\n");
    }
    EXPECT_EQ(kxtest::RunShell("ls -A " + dir).Stdout, "p.p_c\n") << "a discarded file leaves nothing behind";
    ASSERT_TRUE(WriteFileAtomically(target, "new\n", error)) << error;
    EXPECT_EQ(kxtest::ReadFile(target), "new\n");
    EXPECT_FALSE(WriteFileAtomically(dir + "/missing/p.p_c", "x", error));
    EXPECT_FALSE(error.empty());
    kxtest::RemoveTree(dir);
}
