// kestrix-run: a fresh run directory per run, laid out as the engine expects, from the
// build tree and from an installed prefix.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"

using namespace kxtest;

namespace {

std::string RunDirOf(const std::string& stdoutText)
{
    const std::string marker = "kestrix-run: run directory ";
    const std::size_t at = stdoutText.find(marker);
    if (at == std::string::npos)
        return "";
    const std::size_t from = at + marker.size();
    return stdoutText.substr(from, stdoutText.find('\n', from) - from);
}

std::vector<std::string> LauncherArgs(const std::string& launcher, std::vector<std::string> rest)
{
    std::vector<std::string> argv{launcher};
    argv.insert(argv.end(), rest.begin(), rest.end());
    return argv;
}

class Launcher : public testing::Test {
protected:
    void SetUp() override
    {
        state = MakeTempDir("state");
        setenv("XDG_STATE_HOME", state.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("XDG_STATE_HOME");
        RemoveTree(state);
    }
    std::string state;
};

}  // namespace

TEST_F(Launcher, EachRunGetsItsOwnDirectory)
{
    const std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", "gcc");
    const RunResult first = RunProgram(LauncherArgs(KESTRIX_RUN_SCRIPT, args));
    const RunResult second = RunProgram(LauncherArgs(KESTRIX_RUN_SCRIPT, args));
    ASSERT_EQ(first.Status, 0) << first.Stdout << first.Stderr;
    ASSERT_EQ(second.Status, 0);
    const std::string one = RunDirOf(first.Stdout);
    const std::string two = RunDirOf(second.Stdout);
    EXPECT_EQ(one.rfind(state + "/kestrix/runs/", 0), 0u) << one;
    EXPECT_NE(one, two);
    // Layout: list files in work/, suites and catalogue folders one level up, the
    // personality inside the run directory, the probe files in work/.
    for (const char* entry : {"work/c_keywords.txt", "work/ignore_keywords.txt", "c_tests", "cpp_keyword_tests",
                              "TemplatePersonalities", "ForceIncludeFiles", "SubstituteHeaders", "personality.p_c",
                              "work/compile.sh", "work/stderr.log"})
        EXPECT_TRUE(FileExists(one + "/" + entry)) << entry;
    EXPECT_FALSE(FileExists(one + "/work/lists"));
    // Suites are the run's own copies: test programs are built beside their sources.
    EXPECT_EQ(RunShell("test -d '" + one + "/c_tests' && ! test -L '" + one + "/c_tests'").Status, 0);
    EXPECT_EQ(RunShell("test -L '" + one + "/TemplatePersonalities'").Status, 0);
}

TEST_F(Launcher, PassesTheEngineStatusAndKeepsAnExplicitPersonality)
{
    const std::string out = state + "/mine.p_c";
    std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", "gcc", ".nope");
    args.insert(args.end(), {"-op", out});
    const RunResult r = RunProgram(LauncherArgs(KESTRIX_RUN_SCRIPT, args));
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Stdout.find("Can't discover object file extension"), std::string::npos);
    EXPECT_TRUE(FileExists(out));
    EXPECT_FALSE(FileExists(RunDirOf(r.Stdout) + "/personality.p_c"));

    const RunResult usage = RunProgram(LauncherArgs(KESTRIX_RUN_SCRIPT, {"zanth"}));
    EXPECT_EQ(usage.Status, 0);
    EXPECT_NE(usage.Stdout.find("Usage: Kestrix "), std::string::npos);
}

TEST_F(Launcher, RefusesARunDirectoryThatIsInUse)
{
    const std::string dir = state + "/chosen";
    const std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", "gcc");
    std::vector<std::string> argv{"--run-dir", dir};
    argv.insert(argv.end(), args.begin(), args.end());
    ASSERT_EQ(RunProgram(LauncherArgs(KESTRIX_RUN_SCRIPT, argv)).Status, 0);
    EXPECT_TRUE(FileExists(dir + "/personality.p_c"));
    const RunResult again = RunProgram(LauncherArgs(KESTRIX_RUN_SCRIPT, argv));
    EXPECT_EQ(again.Status, 2);
    EXPECT_NE(again.Stderr.find("not empty"), std::string::npos) << again.Stderr;
}

TEST_F(Launcher, WorksFromAnInstalledPrefix)
{
    const std::string prefix = MakeTempDir("prefix");
    const std::string buildDir = std::string(KESTRIX_RUN_SCRIPT).substr(0, std::string(KESTRIX_RUN_SCRIPT).rfind("/bin/"));
    const RunResult install = RunShell("cmake --install '" + buildDir + "' --prefix '" + prefix + "' >/dev/null");
    ASSERT_EQ(install.Status, 0) << install.Stderr;
    EXPECT_TRUE(FileExists(prefix + "/bin/Kestrix"));
    EXPECT_TRUE(FileExists(prefix + "/share/kestrix/lists/c_keywords.txt"));
    EXPECT_TRUE(FileExists(prefix + "/share/kestrix/c_keyword_tests"));

    // The installed launcher must use the installed data, not the source tree.
    const RunResult r = RunProgram(LauncherArgs(prefix + "/bin/kestrix-run", GccLikeArgs("zanth", "ccmp", "gcc")));
    ASSERT_EQ(r.Status, 0) << r.Stdout << r.Stderr;
    const std::string run = RunDirOf(r.Stdout);
    const RunResult link = RunShell("readlink '" + run + "/work/c_keywords.txt'");
    EXPECT_EQ(link.Stdout.rfind(prefix + "/share/kestrix/", 0), 0u) << link.Stdout;
    RemoveTree(prefix);
}

TEST_F(Launcher, WithoutAHomeItAsksForARunDirectory)
{
    const std::string args = " zanth ccmp gcc '-o ' -c -D .o '%c %d%j %o%e %s'";
    const RunResult r = RunShell("env -u HOME -u XDG_STATE_HOME '" + std::string(KESTRIX_RUN_SCRIPT) + "'" + args);
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Stderr.find("--run-dir"), std::string::npos) << r.Stderr;
    const std::string dir = state + "/given";
    const RunResult given = RunShell("env -u HOME -u XDG_STATE_HOME '" + std::string(KESTRIX_RUN_SCRIPT) +
                                     "' --run-dir '" + dir + "'" + args);
    EXPECT_EQ(given.Status, 0) << given.Stderr;
    EXPECT_TRUE(FileExists(dir + "/personality.p_c"));
}
