// The built Kestrix against hostile and awkward compilers, trees and inputs: each case is a
// fake compiler of tests/fakes with one misbehaviour, or a scripted deployment, and the run
// must end the sound way: no command injected, no descriptor leaked, no hang, facts found the
// compiler's way, and never a wrong or half-written personality reported as success.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

#include "common/DeploymentLayout.h"
#include "engine/probe/ProcessRunner.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using namespace kxtest;

namespace {

const std::string kPrevious = "previous personality\n";

// A deployment with empty list files and suite folders, so that a run with a fake compiler
// costs only the few probes every run makes. The personality holds a previous one.
class Quiet : public Deployment {
public:
    Quiet() : Deployment(false) { WriteFile(Personality(), kPrevious); }
    // The arguments of a run with this compiler command (cross: no programs are run).
    std::vector<std::string> Args(const std::string& compiler, bool cross = true,
                                  std::vector<std::string> options = {}) const
    {
        std::vector<std::string> args = GccLikeArgs("zanth", cross ? "ccmp" : "cmp", compiler);
        args.insert(args.end(), {"-op", Personality(), "-j", "2"});
        args.insert(args.end(), options.begin(), options.end());
        return args;
    }
    // A general suite source: compiled as a test, its header names its two outcomes.
    void SuiteTest(const std::string& name, const std::string& error, const std::string& success,
                   const std::string& body = {}) const
    {
        Write(std::string(kxcommon::layout::GeneralSuite(true)) + "/" + name, "//Error:" + error + "\n//Success:" + success + "\n//\n//suite\n" + body + "int x;\n");
    }
    // The run as a shell command line after `prefix`, or as an argument vector.
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
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Root()))
            if (entry.path().filename().string().rfind(".out.p_c", 0) == 0)
                names.push_back(entry.path().filename().string());
        return names;
    }
};

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Waits until the file exists (a fake compiler writes it when it starts).
bool AppearsWithin(const std::string& path, std::chrono::seconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!FileExists(path)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The process whose id the file holds has ended (or is a zombie nobody has reaped yet)
// within a few seconds: a killed process may take a moment to go.
bool ProcessGone(const std::string& pidFile)
{
    const std::string text = ReadFile(pidFile);
    const std::string pid = text.substr(0, text.find('\n'));
    for (int tries = 0; tries < 250; ++tries) {
        const std::string state = ReadFile("/proc/" + pid + "/stat");
        if (state.empty() || Holds(state, ") Z "))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace

// One run in a deployment laid with traps: suite files whose names are shell commands, a link
// planted at the personality, scratch folders of earlier runs, and a compiler that writes into
// every descriptor it inherited.
TEST(Hostile, ATrappedDeploymentGivesTheCompilersFactsAndNothingElse)
{
    Quiet d;
    // Result texts written after a blank, as people write them.
    d.SuiteTest("blank.c", " -sp-", " -sp+ ");
    // Each name climbs from its scratch directory to the deployment's root and leaves a mark
    // there, if a shell ever runs it.
    d.SuiteTest("x;cd ..;cd ..;cd ..;touch INJECTED1;.c", "-inj-", "-inj+");
    d.Write(std::string(kxcommon::layout::GeneralSuite(true)) + "/$(cd ..;cd ..;cd ..;touch INJECTED2).c",
            "//Error:\n//Success:\n//Execute\n//suite\n//prints -bitsinj+\nint main() { return 0; }\n");
    const std::string victim = d.Root() + "/victim", writable = d.Root() + "/writable-descriptors";
    WriteFile(victim, "precious\n");
    fs::remove(d.Personality());
    fs::create_symlink(victim, d.Personality());
    // A scratch folder of this very process id, as a container's fresh PID namespace gives it
    // again, and one of another run: removed under the lock.
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
    ASSERT_TRUE(AppearsWithin(pidFile, std::chrono::seconds(10))) << "the server never started";
    const bool gone = ProcessGone(pidFile);
    RunShell("kill -9 " + ReadFile(pidFile) + " 2>/dev/null");
    EXPECT_TRUE(gone) << "the server outlived the run";
}

TEST(Hostile, CtrlCAndTerminationEndTheRunAndItsCompilesPromptlyAndOneRunHoldsTheDirectory)
{
    // SIGINT to the engine alone, and to its whole process group as a terminal's Ctrl-C is;
    // SIGTERM as a service manager sends it; SIGHUP from a closed terminal or SSH session. The
    // run is stopped in its suites, long after it copied a changed substitute header tree.
    const struct {
        int Signal;
        bool Group;
        const char* Name;
    } cases[] = {{SIGINT, false, "SIGINT"}, {SIGINT, true, "SIGINT"}, {SIGTERM, false, "SIGTERM"}, {SIGHUP, false, "SIGHUP"}};
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
        ASSERT_TRUE(AppearsWithin(pidFile, std::chrono::seconds(30))) << "the first compile never started";
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
        EXPECT_TRUE(d.Leftovers().empty());
        EXPECT_TRUE(ProcessGone(pidFile)) << "the compile was ended with the run";
    }
}

// Compilers that misbehave while the run goes on, and a disk that fills: the run must end
// with the status and message given, keeping the previous personality.
TEST(Hostile, CompilerMisconductNeverPassesAsAnAnswer)
{
    const struct {
        const char* Fake;
        bool ArgIsRoot;  // the fake's first argument is the personality's folder
        int Status;
        const char* Message;
        std::string Shell = "";    // prepares the shell that runs the engine
        std::size_t Define = 1;    // the length of a define given with -xd
        const char* Also = "";     // a second part of the message
    } cases[] = {
        {"fake-interrupts-itself", false, 128 + SIGINT, "was ended by SIGINT"},
        {"fake-removes-personality", true, 1, "Cannot write the personality file"},
        {"fake-removes-probe-dirs", false, 1, "Cannot create the probe directory"},
        {"fake-crash", false, 1, "Can't discover object file extension"},
        // An object of a gigabyte is not read whole (once per job).
        {"fake-huge-objects", false, 1, "which it is larger than 67108864 bytes; no probe makes a file that large"},
        // A full disk is no rejection of the source.
        {"fake-disk-full", false, 1, "failed for a reason that is no answer of the compiler (\"cc1: fatal error: cannot "
                                     "write /tmp/ccKx.s: No space left on device\")"},
        // The shell's file size limit (in blocks of 512 bytes) makes every write past it fail
        // as a full disk would: with 1 KiB a probe source cannot be written; with 16 KiB the
        // probes can, but a personality holding a longer define cannot.
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
        EXPECT_TRUE(d.Leftovers().empty()) << c.Fake;
        // The crash fails the first probe, which runs in the working directory.
        EXPECT_TRUE(std::string(c.Fake) != "fake-crash" || Holds(ReadFile(d.Work() + "/compile.sh"), c.Fake))
            << "the failing compile is kept for the user";
    }
}

// Compilers that answer in unusual ways: the run completes with their own facts. Kestrix
// reads its input from a fifo that never ends, so a probe program that got the engine's input
// instead of an empty one would wait until its time is up.
TEST(Hostile, AwkwardCompilersStillGiveTheirFacts)
{
    const struct {
        const char* Fake;
        std::string Environment;
        bool Cross;
        std::vector<std::string> Options;
        std::string Said;     // in the messages
        std::string NotSaid;  // nowhere in them
        std::vector<std::string> Lines;
    } cases[] = {
        {"fake-hang", "", false, {"-timeout", "2"},
         "did not finish within 2 s; it was stopped, and the probe counts as failed.", "Cross Compiler mode", {"-hang-"}},
        {"fake-program-reads-stdin", "", false, {"-timeout", "20"}, "", "Cross Compiler mode", {"-hang+"}},
        {"fake-cannot-link", "", false, {}, "continuing in Cross Compiler mode", "did not finish", {"-hang+", "-s int=32"}},
        // Identifiers told apart by their first 63 or 31 characters only.
        {"fake-ident-truncate", "FAKE_IDENT_LENGTH=63", true, {}, "", "did not finish", {"-xn 63", "-na 63"}},
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
        // The general test that the hanging compiler never finishes.
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
        std::string Message;
        std::string Order = "%c %d%j %o%e %s";
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
    // A quote in the name, a personality named without a folder, and a link inside the tree
    // that leads out of it. (A trailing slash is the command line's test: an engine that kept
    // it would copy the tree into the root directory here.)
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

TEST(Hostile, TwoLaunchersGivenOneRunDirectoryStartOneRun)
{
    const std::string dir = MakeTempDir("launchers");
    const std::string runDir = dir + "/run";
    // The data of a quick deployment: the quiet one's list files and suite folders.
    fs::copy(Quiet().Root(), dir + "/data", fs::copy_options::recursive);
    fs::rename(dir + "/data/" + kxcommon::layout::WorkDir, dir + "/data/" + kxcommon::layout::ListsDir);
    std::string launch = "KESTRIX_DATA=" + ShellQuote(dir + "/data") + " " + ShellQuote(KESTRIX_RUN_SCRIPT) +
                         " --run-dir " + ShellQuote(runDir);
    for (const std::string& arg : GccLikeArgs("zanth", "ccmp", Fake("fake-plain-cc")))
        launch += " " + ShellQuote(arg);
    const RunResult both = RunShell("(" + launch + " >a.out 2>a.err; echo $? >a.rc) & (" + launch +
                                        " >b.out 2>b.err; echo $? >b.rc) & wait",
                                    dir);
    std::vector<std::string> statuses{ReadFile(dir + "/a.rc"), ReadFile(dir + "/b.rc")};
    std::sort(statuses.begin(), statuses.end());
    EXPECT_EQ(statuses, (std::vector<std::string>{"0\n", "2\n"}));
    const std::string refused = ReadFile(dir + (ReadFile(dir + "/a.rc") == "2\n" ? "/a.err" : "/b.err"));
    EXPECT_TRUE(Holds(refused, "two runs must not share one")) << refused;
    RemoveTree(dir);
}
