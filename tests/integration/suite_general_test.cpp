// The general test suite and the identifier-length tests, driven through the library in a
// scratch deployment.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <unistd.h>

#include "KestrixEngine.h"
#include "TestSupport.h"

namespace {

class ScratchEngine {
public:
    ScratchEngine(const std::string& product, const std::string& kind, const std::string& compiler)
    {
        char buffer[4096];
        if (getcwd(buffer, sizeof buffer) != nullptr)
            OldCwd = buffer;
        if (chdir(Deploy.Work().c_str()) != 0)
            throw std::runtime_error("cannot enter " + Deploy.Work());
        Engine = std::make_unique<KestrixEngine>(product, kind, compiler, "-o ", "-c", "-D", ".o",
                                                 "%c %d%j %o%e %s");
        Engine->BaseTypes = KestrixEngine::MakeBaseTypes();
        S_OBJEXT = ".o";
    }
    ~ScratchEngine()
    {
        if (!OldCwd.empty())
            [[maybe_unused]] const int ignored = chdir(OldCwd.c_str());
    }

    template <typename Phase>
    std::vector<std::string> Lines(Phase phase)
    {
        std::ostringstream personality;
        ::testing::internal::CaptureStdout();
        phase(*Engine, personality);
        Printed = ::testing::internal::GetCapturedStdout();
        return kxtest::Lines(personality.str());
    }

    kxtest::Deployment Deploy{false};
    std::string OldCwd;
    std::unique_ptr<KestrixEngine> Engine;
    std::string Printed;
};

std::vector<std::string> Tail(const std::vector<std::string>& lines, std::size_t count)
{
    if (lines.size() < count)
        return lines;
    return std::vector<std::string>(lines.end() - static_cast<long>(count), lines.end());
}

long Count(const std::vector<std::string>& lines, const std::string& wanted)
{
    return std::count(lines.begin(), lines.end(), wanted);
}

// The suite fake, told to reject the type probes so that they cost one compile each.
std::string SuitesOnlyFake()
{
    return kxtest::Fake("fake-suite-cc") + " --suites-only";
}

void WriteSuite(const kxtest::Deployment& d)
{
    d.Write("c_tests/01_plus.c", "//Error:-b-\n//Success:-b+\n\n");
    d.Write("c_tests/02_rejected.c", "//Error:-z1\n//Success:-z0\n\n//reject\n");
    d.Write("c_tests/03_again.c", "//Error:-b-\n//Success:-b+\n\n");
    d.Write("c_tests/04_silent.c", "//Error:\n//Success:\n\n");
    d.Write("c_tests/05_spaced.c", "//Error:\n//Success:-a some thing\n\n");
    d.Write("c_tests/06_program.c", "//Error:\n//Success:\n//Execute\n//prints -bits 8\n");
    d.Write("c_tests/07_dos.c", "//Error:-dos-\r\n//Success:-dos+\r\n\r\n");
}

}  // namespace

TEST(GeneralSuite, CrossModeLinesFollowTypeAndIdentifierLinesSortedAndUnique)
{
    ScratchEngine s("zanth", "ccmp", SuitesOnlyFake());
    WriteSuite(s.Deploy);
    const std::vector<std::string> lines =
        s.Lines([](KestrixEngine& e, std::ostream& out) { e.ConductZanTests(out); });

    // The fake accepts the identifier sources at the longest length; an Execute test never
    // passes in cross mode and leaves its result empty.
    EXPECT_EQ(Tail(lines, 6), (std::vector<std::string>{"-xn 1024", "-na 1024", "\"-a some thing\"", "-b+",
                                                         "-dos+", "-z1"}));
    EXPECT_EQ(Count(lines, "-b+"), 1);
    EXPECT_EQ(s.Printed.find("Scanning for compiler tests ...\nConducting Tests...\n"), 0u);
}

TEST(GeneralSuite, NativeModeTakesTheProgramReport)
{
    ScratchEngine s("zanth", "cmp", SuitesOnlyFake());
    WriteSuite(s.Deploy);
    const std::vector<std::string> lines =
        s.Lines([](KestrixEngine& e, std::ostream& out) { e.ConductZanTests(out); });
    EXPECT_EQ(Tail(lines, 5), (std::vector<std::string>{"\"-a some thing\"", "\"-bits 8\"", "-b+", "-dos+", "-z1"}));
    EXPECT_FALSE(kxtest::FileExists(s.Deploy.InRoot("c_tests/06_program.c.exe")));
}

TEST(GeneralSuite, MissingSuiteStillRunsTheIdentifierTests)
{
    ScratchEngine s("zanth", "ccmp", SuitesOnlyFake());
    kxtest::RemoveTree(s.Deploy.InRoot("c_tests"));
    const std::vector<std::string> lines =
        s.Lines([](KestrixEngine& e, std::ostream& out) { e.ConductZanTests(out); });
    EXPECT_EQ(Tail(lines, 2), (std::vector<std::string>{"-xn 1024", "-na 1024"}));
}

TEST(GeneralSuite, CppProductHasNoIdentifierLines)
{
    ScratchEngine s("zanthpp", "ccmp", SuitesOnlyFake());
    s.Deploy.Write("cpp_tests/01.cpp", "//Error:\n//Success:-cpp+\n\n");
    s.Deploy.Write("cpp_tests/02.c", "//Error:\n//Success:-not-taken\n\n");
    const std::vector<std::string> lines =
        s.Lines([](KestrixEngine& e, std::ostream& out) { e.ConductZanTests(out); });
    for (const std::string& line : lines) {
        EXPECT_NE(line.rfind("-xn ", 0), 0u) << line;
        EXPECT_NE(line.rfind("-na ", 0), 0u) << line;
    }
    EXPECT_EQ(Tail(lines, 1), std::vector<std::string>{"-cpp+"});
    EXPECT_EQ(Count(lines, "-not-taken"), 0);

    const long before = s.Engine->CompilerRuns();
    std::ostringstream out;
    s.Engine->ConductIdentTest(out, true);
    s.Engine->ConductIdentTest(out, false);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(s.Engine->CompilerRuns(), before);
}

TEST(IdentifierLength, GccDistinguishesTheLongestLengthTried)
{
    if (!kxtest::HaveCommand("gcc"))
        GTEST_SKIP() << "gcc is not installed";
    ScratchEngine s("zanth", "cmp", "gcc");
    const long before = s.Engine->CompilerRuns();
    const std::vector<std::string> lines = s.Lines([](KestrixEngine& e, std::ostream& out) {
        e.ConductIdentTest(out, true);
        e.ConductIdentTest(out, false);
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"-xn 1024", "-na 1024"}));
    EXPECT_EQ(s.Engine->CompilerRuns() - before, 2);
    EXPECT_FALSE(kxtest::FileExists(s.Deploy.InWork("idtest.o")));
    EXPECT_TRUE(kxtest::FileExists(s.Deploy.InWork("idtest.c")));
}

TEST(IdentifierLength, CompilerThatCutsNamesAt31Characters)
{
    if (!kxtest::HaveCommand("gcc"))
        GTEST_SKIP() << "gcc is not installed";
    ScratchEngine s("zanth", "cmp", kxtest::Fake("fake-ident-truncate"));
    const long before = s.Engine->CompilerRuns();
    const std::vector<std::string> lines = s.Lines([](KestrixEngine& e, std::ostream& out) {
        e.ConductIdentTest(out, true);
        e.ConductIdentTest(out, false);
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"-xn 31", "-na 31"}));
    // 1024 down to 32 fail, 31 decides: seven attempts for each kind of identifier.
    EXPECT_EQ(s.Engine->CompilerRuns() - before, 14);
}

TEST(IdentifierLength, CompilerThatNeverCompilesGetsTheDefault)
{
    ScratchEngine s("zanth", "cmp", "false");
    const long before = s.Engine->CompilerRuns();
    std::ostringstream out;
    s.Engine->ConductIdentTest(out, false);
    EXPECT_EQ(out.str(), "-na 31\n");
    EXPECT_EQ(s.Engine->CompilerRuns() - before, 35);
}
