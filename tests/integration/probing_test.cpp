// The two probes every run starts with: which object file the compiler writes, and whether
// its programs run on this host. Real compilers and fake ones, each showing one behaviour.
#include <gtest/gtest.h>

#include <unistd.h>

#include "KestrixEngine.h"
#include "TestSupport.h"

using namespace kxtest;

namespace {

const char* const kNoObject1 =
    "Can't discover object file extension, or the compile command failed to produce an object file of the specified extension!";
const char* const kNoObject2 = "Please check the specified compile flags if this command is malformed.";
const char* const kCannotLink =
    "Failed to compile a test file for execution! Please check the compile options used (or the compiler linker environment) for next time, however continuing in Cross Compiler mode";
const char* const kCannotRun = "Failed on executing a test file on this host system! Continuing in Cross Compiler mode";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Runs the object-extension probe through the library in a scratch directory and returns
// what it settled; the process-wide results are reset first.
struct ExtensionProbe {
    bool Ended = false;
    std::string Ext;
    bool Binary = false;
};

ExtensionProbe ProbeExtension(const std::vector<std::string>& positional)
{
    const std::string dir = MakeTempDir("objext");
    char* old = getcwd(nullptr, 0);
    EXPECT_EQ(chdir(dir.c_str()), 0);
    S_OBJEXT.clear();
    S_OBJ_IS_BINARY = false;
    KestrixEngine engine(positional[0], positional[1], positional[2], positional[3], positional[4],
                         positional[5], positional[6], positional[7]);
    ExtensionProbe result;
    testing::internal::CaptureStdout();
    try {
        engine.GetObjectFileExtension(S_OBJEXT, engine.ObjectFileExtension);
    } catch (const KestrixExit& e) {
        result.Ended = e.Status == 1;
    }
    testing::internal::GetCapturedStdout();
    result.Ext = S_OBJEXT;
    result.Binary = S_OBJ_IS_BINARY;
    EXPECT_EQ(chdir(old), 0);
    free(old);
    RemoveTree(dir);
    return result;
}

std::vector<std::string> SdccArgs(const std::string& objExt)
{
    return {"zanth", "ccmp", "sdcc -mmcs51", "-o ", "-c", "-D", objExt, "%c %d%j %o%e %s"};
}

}  // namespace

TEST(ObjectExtension, GccWritesBinaryDotO)
{
    const ExtensionProbe p = ProbeExtension(GccLikeArgs("zanth", "cmp", "gcc", ".o"));
    EXPECT_FALSE(p.Ended);
    EXPECT_EQ(p.Ext, ".o");
    EXPECT_TRUE(p.Binary);
    const ExtensionProbe any = ProbeExtension(GccLikeArgs("zanth", "cmp", "gcc", ""));
    EXPECT_EQ(any.Ext, ".o");
}

TEST(ObjectExtension, TextObjectFilesOfAFakeCompiler)
{
    // The fake writes typetest.asm and typetest.rel, both text.
    const ExtensionProbe rel = ProbeExtension(GccLikeArgs("zanth", "ccmp", Fake("fake-text-object"), ".rel"));
    EXPECT_EQ(rel.Ext, ".rel");
    EXPECT_FALSE(rel.Binary);
    const ExtensionProbe asmAsRel = ProbeExtension(GccLikeArgs("zanth", "ccmp", Fake("fake-text-object"), ".asm"));
    EXPECT_EQ(asmAsRel.Ext, ".rel");
    EXPECT_FALSE(asmAsRel.Binary);
}

TEST(ObjectExtension, Sdcc)
{
    if (!HaveCommand("sdcc"))
        GTEST_SKIP() << "sdcc is not installed";
    const ExtensionProbe rel = ProbeExtension(SdccArgs(".rel"));
    EXPECT_FALSE(rel.Ended);
    EXPECT_EQ(rel.Ext, ".rel");
    EXPECT_FALSE(rel.Binary);
    // Without an expected extension the first file listed wins; .asm is taken as .rel.
    const ExtensionProbe any = ProbeExtension(SdccArgs(""));
    EXPECT_FALSE(any.Ended);
    EXPECT_TRUE(any.Ext == ".rel" || any.Ext == ".lst" || any.Ext == ".sym") << any.Ext;
}

TEST(ObjectExtension, ExtensionThatNeverMatchesEndsTheRun)
{
    Deployment d(false);
    for (const std::string& ext : {std::string("o"), std::string(".obj")}) {
        std::vector<std::string> args = GccLikeArgs("zanth", "cmp", "gcc", ext);
        args.insert(args.end(), {"-op", d.Personality()});
        const RunResult r = d.Run(args);
        EXPECT_EQ(r.Status, 1) << ext;
        EXPECT_EQ(r.Stdout, std::string(kNoObject1) + "\n" + kNoObject2 + "\n") << ext;
        EXPECT_TRUE(FileExists(d.Personality()));
        EXPECT_EQ(ReadFile(d.Personality()), "");
    }
}

TEST(ObjectExtension, CrashingCompilerEndsTheRun)
{
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanth", "cmp", Fake("fake-crash"), ".o");
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Stdout, kNoObject1));
    // The script and the captured output stay for the user to inspect.
    EXPECT_TRUE(Contains(ReadFile(d.InWork("stderr.log")), "internal compiler error"));
    EXPECT_FALSE(FileExists(d.InWork("pass.txt")));
}

TEST(HostExecution, NativeGccStaysNative)
{
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanth", "cmp", "gcc");
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 0);
    EXPECT_FALSE(Contains(r.Stdout, "Cross Compiler mode")) << r.Stdout;
}

TEST(HostExecution, CompilerThatCannotLinkSwitchesToCrossMode)
{
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanthpp", "cmp", Fake("fake-cannot-link"));
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 0);
    EXPECT_TRUE(Contains(r.Stdout, std::string(kCannotLink) + "\n")) << r.Stdout;
}

TEST(HostExecution, ProgramPrintingAnExtraNewlineSwitchesToCrossMode)
{
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanth", "cmp", Fake("fake-hello-newline"));
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 0);
    EXPECT_TRUE(Contains(r.Stdout, std::string(kCannotRun) + "\nDebug: hello world\n\n"
                                   "Please set the Cross Compiler checkbox if this is indeed the case.\n"))
        << r.Stdout;
}

TEST(HostExecution, AvrGccGivenAsNativeSwitchesToCrossMode)
{
    if (!HaveCommand("avr-gcc"))
        GTEST_SKIP() << "avr-gcc is not installed";
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanth", "cmp", "avr-gcc");
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 0);
    EXPECT_TRUE(Contains(r.Stdout, kCannotRun)) << r.Stdout;
    EXPECT_TRUE(Contains(r.Stdout, "Please set the Cross Compiler checkbox if this is indeed the case."));
}

TEST(HostExecution, CrossModeGivenOnTheCommandLineSkipsTheCheck)
{
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", Fake("fake-cannot-link"));
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 0);
    EXPECT_FALSE(Contains(r.Stdout, "Cross Compiler mode"));
    EXPECT_FALSE(FileExists(d.InWork("hello_world.c")));
}

TEST(CompilerRun, CompilerThatPrintsOnlyToStandardError)
{
    const std::string dir = MakeTempDir("stderr-only");
    char* old = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    KestrixEngine engine("zanth", "ccmp", Fake("fake-stderr-only"), "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    S_OBJEXT = ".o";
    int size = 0;
    std::string output;
    EXPECT_FALSE(engine.CompileThisString("int x = ;\n", size, output));
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(Contains(output, "error")) << output;
    EXPECT_EQ(ReadFile("stdout.log"), "");
    EXPECT_EQ(output, ReadFile("stderr.log"));
    EXPECT_FALSE(PassMarkerExists());

    // A warning alone still passes, and the marker of the earlier failure is gone.
    EXPECT_TRUE(engine.CompileThisString("#warning kx\nint y;\n", size, output));
    EXPECT_GT(size, 0);
    EXPECT_TRUE(Contains(output, "kx"));
    EXPECT_TRUE(PassMarkerExists());
    EXPECT_EQ(Lines(ReadFile("compile.sh")).at(4), Fake("fake-stderr-only") + " -c  typetest.c");
    EXPECT_EQ(chdir(old), 0);
    free(old);
    RemoveTree(dir);
}
