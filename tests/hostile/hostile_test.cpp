// The built Kestrix against misbehaving fake compilers (tests/fakes) and trapped deployments.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <thread>

#include "common/DeploymentLayout.h"
#include "engine/probe/ProcessRunner.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using namespace kxtest;

namespace {

const std::string kPrevious = "previous personality\n";

// Empty lists and suites (a run makes only the few probes every run makes); a previous personality.
class Quiet : public Deployment {
public:
    Quiet() : Deployment(false) { WriteFile(Personality(), kPrevious); }
    std::vector<std::string> Args(const std::string& compiler, bool cross = true,
                                  std::vector<std::string> options = {}) const
    {
        std::vector<std::string> args = GccLikeArgs("zanth", cross ? "ccmp" : "cmp", compiler);
        args.insert(args.end(), {"-op", Personality(), "-j", "2"});
        args.insert(args.end(), options.begin(), options.end());
        return args;
    }
    void SuiteTest(const std::string& name, const std::string& error, const std::string& success,
                   const std::string& body = {}) const
    {
        Write(std::string(kxcommon::layout::GeneralSuite(true)) + "/" + name, "//Error:" + error + "\n//Success:" + success + "\n//\n//suite\n" + body + "int x;\n");
    }
    std::string Command(const std::string& prefix, const std::vector<std::string>& args) const
    {
        std::string command = prefix + "exec " + ShellQuote(KESTRIX_BINARY);
        for (const std::string& arg : args)
            command += " " + ShellQuote(arg);
        return command;
    }
    static std::vector<std::string> Argv(std::vector<std::string> args)
    {
        args.insert(args.begin(), KESTRIX_BINARY);
        return args;
    }
    // Files the engine may have left beside the personality while writing it.
    std::string Leftovers() const { return RunShell("ls -A | grep '^\\.out\\.p_c'", Root()).Stdout; }
};

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool Within(std::chrono::seconds limit, const std::function<bool()>& condition)
{
    for (const auto end = std::chrono::steady_clock::now() + limit; !condition();
         std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

// The process whose id the file holds ends (or is an unreaped zombie) within a few seconds.
bool ProcessGone(const std::string& pidFile)
{
    const std::string pid = ReadFile(pidFile).substr(0, ReadFile(pidFile).find('\n'));
    return Within(std::chrono::seconds(5), [&] {
        const std::string state = ReadFile("/proc/" + pid + "/stat");
        return state.empty() || Holds(state, ") Z ");
    });
}

}  // namespace

// Suite files named as shell commands, a link at the personality, old scratch folders, leaked descriptors.
TEST(Hostile, ATrappedDeploymentGivesTheCompilersFactsAndNothingElse)
{
    Quiet d;
    // Result texts written after a blank, as people write them.
    d.SuiteTest("blank.c", " -sp-", " -sp+ ");
    // Each name leaves a mark in the deployment's root if a shell ever runs it.
    d.SuiteTest("x;cd ..;cd ..;cd ..;touch INJECTED1;.c", "-inj-", "-inj+");
    d.Write(std::string(kxcommon::layout::GeneralSuite(true)) + "/$(cd ..;cd ..;cd ..;touch INJECTED2).c",
            "//Error:\n//Success:\n//Execute\n//suite\n//prints -bitsinj+\nint main() { return 0; }\n");
    const std::string victim = d.Root() + "/victim", writable = d.Root() + "/writable-descriptors";
    WriteFile(victim, "precious\n");
    fs::remove(d.Personality());
    fs::create_symlink(victim, d.Personality());
    // A scratch folder of this very process id (a fresh PID namespace) and another run's: removed under the lock.
    const RunResult run = RunShell(d.Command("mkdir -p kestrix-probes.$$/1 kestrix-probes.7/1 && ",
                                             d.Args(ShellQuote(Fake("fake-writes-fds")) + " " + ShellQuote(writable), false)),
                                   d.Work());
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    const std::string personality = ReadFile(d.Personality());
    EXPECT_TRUE(Holds(personality, "-inj+\n")) << "the test with the hostile name ran as a test";
    EXPECT_TRUE(Holds(personality, "-bitsinj+\n")) << "the program with the hostile name ran";
    EXPECT_EQ(RunShell("find " + ShellQuote(d.Root()) + " -name 'INJECTED*'").Stdout, "");
    EXPECT_TRUE(Holds(personality, "\n-sp+\n") && Holds(personality, "-xn ")) << personality;
    EXPECT_EQ(ReadFile(victim), "precious\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(d.Personality())));
    EXPECT_EQ(RunShell("ls -d kestrix-probes.* 2>/dev/null", d.Work()).Stdout, "");
    EXPECT_FALSE(FileExists(writable)) << "descriptors open in the compiler: " << ReadFile(writable);
}

TEST(Hostile, AServerThatACompileStartsInASessionOfItsOwnEndsWithTheRun)
{
    Quiet d;
    const std::string pidFile = d.Root() + "/server.pid";
    const RunResult run = d.Run(d.Args(ShellQuote(Fake("fake-starts-server")) + " " + ShellQuote(pidFile)));
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    ASSERT_TRUE(Within(std::chrono::seconds(10), [&] { return FileExists(pidFile); })) << "the server never started";
    const bool gone = ProcessGone(pidFile);
    RunShell("kill -9 " + ReadFile(pidFile) + " 2>/dev/null");
    EXPECT_TRUE(gone) << "the server outlived the run";
}

TEST(Hostile, CtrlCAndTerminationEndTheRunAndItsCompilesPromptlyAndOneRunHoldsTheDirectory)
{
    // Ctrl-C to the engine or its group, SIGTERM, SIGHUP, in the suites after a changed substitute tree was copied.
    const struct { int Signal; bool Group; const char* Name; } cases[] = {
        {SIGINT, false, "SIGINT"}, {SIGINT, true, "SIGINT"}, {SIGTERM, false, "SIGTERM"}, {SIGHUP, false, "SIGHUP"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + (c.Group ? " to the group" : " to the engine"));
        Quiet d;
        const std::vector<std::string> substitutes{"-sub", d.Root() + "/src/subs"};
        d.Write("src/subs/h.h", "#define V 1\n");
        ASSERT_EQ(d.Run(d.Args(Fake("fake-plain-cc"), true, substitutes)).Status, 0);
        const std::string previous = ReadFile(d.Personality()), copy = d.Root() + "/subs/h.h";
        ASSERT_EQ(ReadFile(copy), "#define V 1\n");
        d.Write("src/subs/h.h", "#define V 2\n");
        d.SuiteTest("t.c", "-t-", "-t+");
        const std::string pidFile = d.Root() + "/compiler.pid";
        Started run(d.Argv(d.Args(ShellQuote(Fake("fake-sleeps-in-suites")) + " " + ShellQuote(pidFile), true, substitutes)),
                    d.Work());
        ASSERT_TRUE(Within(std::chrono::seconds(30), [&] { return FileExists(pidFile); })) << "the first compile never started";
        if (c.Group) {
            const RunResult second = d.Run(d.Args(Fake("fake-plain-cc")));
            EXPECT_EQ(second.Status, 1);
            EXPECT_TRUE(Holds(second.Stderr, "Another Kestrix run is using the working directory \"" + d.Work() + "\""))
                << second.Stderr;
        }
        const auto signalled = std::chrono::steady_clock::now();
        run.Signal(c.Signal, c.Group);
        const RunResult ended = run.Wait();
        EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(10));
        EXPECT_EQ(ended.Status, 128 + c.Signal) << ended.Stderr;
        EXPECT_TRUE(Holds(ended.Stderr, std::string("Interrupted by ") + c.Name +
                                            "; the run was stopped and the previous personality is left as it was"))
            << ended.Stderr;
        EXPECT_EQ(ReadFile(d.Personality()), previous);
        EXPECT_EQ(ReadFile(copy), "#define V 1\n") << "the previous personality keeps the headers it was written with";
        EXPECT_EQ(RunShell("ls -a " + ShellQuote(d.Root()) + " | grep kestrix-substitutes").Stdout, "");
        EXPECT_EQ(d.Leftovers(), "");
        EXPECT_TRUE(ProcessGone(pidFile)) << "the compile was ended with the run";
    }
}

// Misbehaving compilers and a disk that fills: the status and message given, the previous personality kept.
TEST(Hostile, CompilerMisconductNeverPassesAsAnAnswer)
{
    // ArgIsRoot: the fake's first argument is the personality's folder; Define: the length of a -xd define.
    const struct { const char* Fake; bool ArgIsRoot; int Status; const char* Message; std::string Shell = "";
                   std::size_t Define = 1; const char* Also = ""; } cases[] = {
        {"fake-interrupts-itself", false, 128 + SIGINT, "was ended by SIGINT"},
        {"fake-removes-personality", true, 1, "Cannot write the personality file"},
        {"fake-removes-probe-dirs", false, 1, "Cannot create the probe directory"},
        {"fake-crash", false, 1, "Can't discover object file extension"},
        // An object of a gigabyte is not read whole (once per job).
        {"fake-huge-objects", false, 1, "which it is larger than 67108864 bytes; no probe makes a file that large"},
        // A full disk is no rejection of the source.
        {"fake-disk-full", false, 1, "failed for a reason that is no answer of the compiler (\"cc1: fatal error: cannot "
                                     "write /tmp/ccKx.s: No space left on device\")"},
        // A file size limit (512-byte blocks): at 1 KiB the probe source fails, at 16 KiB the long personality.
        {"fake-plain-cc", false, 1, "Error: Cannot write the probe source", "trap '' XFSZ; ulimit -f 2; ", 1, ": File too large"},
        {"fake-plain-cc", false, 1, "Error: Cannot write the personality file", "trap '' XFSZ; ulimit -f 32; ", 20000,
         ": File too large"},
    };
    for (const auto& c : cases) {
        Quiet d;
        d.SuiteTest("t.c", "-t-", "-t+");
        std::string compiler = ShellQuote(Fake(c.Fake));
        if (c.ArgIsRoot)
            compiler += " " + ShellQuote(d.Root());
        const RunResult run =
            RunShell(d.Command(c.Shell, d.Args(compiler, true, {"-xd", "LONG=" + std::string(c.Define, 'x')})), d.Work());
        EXPECT_EQ(run.Status, c.Status) << c.Fake << ": " << run.Stderr;
        EXPECT_TRUE(Holds(run.Stdout + run.Stderr, c.Message) && Holds(run.Stderr, c.Also))
            << c.Fake << ": " << run.Stdout << run.Stderr;
        EXPECT_EQ(ReadFile(d.Personality()), kPrevious) << c.Fake;
        EXPECT_EQ(d.Leftovers(), "") << c.Fake;
        // The crash fails the first probe, which runs in the working directory.
        EXPECT_TRUE(std::string(c.Fake) != "fake-crash" || Holds(ReadFile(d.Work() + "/compile.sh"), c.Fake))
            << "the failing compile is kept for the user";
    }
}

// Unusual answers still give facts. The engine's input is an endless fifo that no probe program may inherit.
TEST(Hostile, AwkwardCompilersStillGiveTheirFacts)
{
    // Said: in the messages; NotSaid: nowhere in them.
    const struct { const char* Fake; std::string Environment; bool Cross; std::vector<std::string> Options;
                   std::string Said, NotSaid; std::vector<std::string> Lines; } cases[] = {
        {"fake-hang", "", false, {"-timeout", "2"},
         "did not finish within 2 s; it was stopped, and the probe counts as failed.", "Cross Compiler mode", {"-hang-"}},
        {"fake-program-reads-stdin", "", false, {"-timeout", "20"}, "", "Cross Compiler mode", {"-hang+"}},
        {"fake-cannot-link", "", false, {}, "continuing in Cross Compiler mode", "did not finish", {"-hang+", "-s int=32"}},
        // Identifiers told apart by their first 31 characters only.
        {"fake-ident-truncate", "FAKE_IDENT_LENGTH=31", true, {}, "", "did not finish", {"-xn 31", "-na 31"}},
        // Objects that grow with the source's length: alignments measured one compile at a time.
        {"fake-embeds-source", "", true, {"-exact"}, "", "did not finish", {"-a codeptr=8", "-a int=4", "-a short=2"}},
        // Killed after writing its object: the compiler rejected the source.
        {"fake-crashes-after-object", "", true, {}, "", "did not finish", {"-crash-", "-hang+"}},
    };
    if (!HaveCommand("gcc"))
        GTEST_SKIP() << "the fakes wrap gcc";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Fake + (" " + c.Environment));
        Quiet d;
        d.SuiteTest("t02_line_comments.c", "-hang-", "-hang+");
        if (c.Lines.front() == "-crash-")
            d.SuiteTest("t.c", "-crash-", "-crash+", "//crash\n");
        const std::string fifo = d.Root() + "/input";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const std::string command = d.Command("export " + (c.Environment.empty() ? "KX_UNUSED=1" : c.Environment) + "; ",
                                              d.Args(Fake(c.Fake), c.Cross, c.Options));
        const RunResult run = RunShell(command + " 0<>" + ShellQuote(fifo), d.Work());
        EXPECT_EQ(run.Status, 0) << run.Stdout << run.Stderr;
        EXPECT_TRUE(Holds(run.Stdout, c.Said)) << run.Stdout;
        EXPECT_FALSE(Holds(run.Stdout, c.NotSaid)) << run.Stdout;
        const std::vector<std::string> lines = Lines(ReadFile(d.Personality()));
        for (const std::string& line : c.Lines)
            EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
}

TEST(Hostile, UnusableNamedInputsAreRefusedBeforeAnyCompile)
{
    Quiet d;
    const std::string log = d.Root() + "/compiles";
    const std::string compiler = ShellQuote(Fake("fake-plain-cc")) + " --log " + ShellQuote(log);
    d.Write("file", "");
    d.Write("unclosed.tpl", "<add>\n-u+\n<remove>\n-u-\n</remove>\n");
    d.Write("dir/h.h", "");
    ASSERT_EQ(mkfifo((d.Root() + "/fifo").c_str(), 0600), 0);
    const std::string r = d.Root();
    const struct {
        std::vector<std::string> Options;
        std::string Message, Order = "%c %d%j %o%e %s";
    } cases[] = {
        {{"-tpl", r + "/missing"}, "(-tpl): it does not exist"},
        {{"-tpl", r + "/fifo"}, "(-tpl): it is not a regular file"},
        {{"-tpl", r + "/unclosed.tpl"}, "line 3 holds <remove> inside the <add> section opened at line 1"},
        {{"-fi", r + "/missing"}, "(-fi): it does not exist"},
        {{"-fi", r + "/fifo"}, "(-fi): it is not a regular file"},
        {{"-sub", r + "/missing"}, "(-sub): it does not exist"},
        {{"-sub", r + "/dir/."}, "(-sub): its last component is \".\""},
        {{"-i", r + "/missing"}, "(-i): it does not exist"},
        {{"-i", r + "/file"}, "(-i): it is not a directory"},
        {{"-i", r + "/dir\n-d INJECTED=1"}, "(-i): its name holds a line end"},
        {{"-tlp", r + "/file"}, "Unknown option \"-tlp\""},
        {{"-i"}, "The option -i needs a value"},
        {{"-op"}, "The option -op needs a value"},
        {{"-op", r + "/dir"}, "(-op): it is a directory"},
        {{"-op", r + "/missing/out.p_c"}, "Cannot write the personality file \"" + r + "/missing/out.p_c\""},
        {{"-xd", "A=1\n-d INJECTED=1"}, "holds a line end"},
        {{"-i", r + "/dir", r + "/dir"}, "Unexpected argument"},
        {{"-tpl", r + "/dir"}, "(-tpl): it is a directory"},
        {{"-sub", r + "/file"}, "(-sub): it is not a directory"},
        // Here only, never in a run: an engine that took it would copy the whole file system.
        {{"-sub", "//"}, "it is the root directory"},
        {{"-j", "0"}, "(-j) must be a whole number from 1"},
        {{"-timeout", "soon"}, "(-timeout) must be a whole number of seconds"},
        // An empty name would be the working directory; a second tree would replace the first.
        {{"-i", ""}, "Cannot use the search directory \"\" (-i): the name is empty."},
        {{"-sub", r + "/dir", "-sub", r + "/dir"}, "The option -sub is given twice; give it once."},
        {{"-op", r + "/a.p_c", "-op", r + "/b.p_c"}, "The option -op is given twice; give it once."},
        {{}, "lacks the placeholder %d", "%c %j %o%e %s"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = d.Args(compiler, true, c.Options);
        args[7] = c.Order;
        // A personality of the row's own takes the place of the usual one (-op is taken once).
        if (std::count(args.begin(), args.end(), "-op") == 2)
            args.erase(std::find(args.begin(), args.end(), "-op"), std::find(args.begin(), args.end(), "-op") + 2);
        const RunResult run = d.Run(args);
        EXPECT_EQ(run.Status, 1) << c.Message;
        EXPECT_TRUE(Holds(run.Stderr, c.Message)) << run.Stderr;
        EXPECT_EQ(run.Stdout, "") << c.Message;
    }
    EXPECT_FALSE(FileExists(log)) << "compiled: " << ReadFile(log);
    EXPECT_EQ(ReadFile(d.Personality()), kPrevious);
}

TEST(Hostile, ASubstituteTreeIsCopiedBesideThePersonalityAndNoFurther)
{
    Quiet d;
    // A quote in the name, a personality named without a folder, a link leading out of the tree.
    d.Write("su\"bs/h.h", "#define H 1\n");
    d.Write("secret/key.h", "secret\n");
    fs::create_directory_symlink(d.Root() + "/secret", d.Root() + "/su\"bs/out");
    std::vector<std::string> args = d.Args(Fake("fake-plain-cc"), true, {"-sub", "../su\"bs"});
    args[9] = "out.p_c";
    const RunResult run = d.Run(args);
    EXPECT_EQ(run.Status, 3) << "a skipped link leaves facts missing: " << run.Stderr;
    EXPECT_TRUE(Holds(run.Stdout, "Error: Skipping \"" + d.Root() + "/su\"bs/out\" of the substitute headers: it is a "
                                  "link that leads out of the substitute header tree"))
        << run.Stdout;
    const std::string copy = d.Work() + "/su\"bs";
    EXPECT_EQ(ReadFile(copy + "/h.h"), "#define H 1\n");
    EXPECT_FALSE(FileExists(copy + "/out"));
    const std::vector<std::string> lines = Lines(ReadFile(d.Work() + "/out.p_c"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "-i \"" + d.Work() + "/su\\\"bs\"");
    EXPECT_EQ(lines[1], "-q \"" + d.Work() + "/su\\\"bs\"");
}

TEST(Hostile, AnUnreadableFileOfASearchDirectoryLeavesFactsMissing)
{
    // A file that even root cannot read: a write-only attribute of the kernel's.
    const std::string unreadable = "/sys/bus/platform/drivers_probe";
    if (!FileExists(unreadable) || RunShell("cat " + unreadable).Status == 0)
        GTEST_SKIP() << unreadable << " is missing or readable here";
    Quiet d;
    d.Write("inc/ok.h", "int ok;\n");
    fs::create_symlink(unreadable, d.Root() + "/inc/gone.h");
    const RunResult run = d.Run(d.Args(Fake("fake-plain-cc"), true, {"-i", d.Root() + "/inc"}));
    EXPECT_EQ(run.Status, 3) << run.Stderr;
    EXPECT_TRUE(Holds(run.Stdout, "Error: Cannot read \"" + d.Root() + "/inc/gone.h\" of the search directories: "))
        << run.Stdout;
}
