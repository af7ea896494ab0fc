// Keyword classification driven through the library, in a scratch deployment whose keyword
// suite each test writes itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <unistd.h>

#include "KestrixEngine.h"
#include "TestSupport.h"

namespace {

// An engine working in the work folder of an empty deployment, as if the object-extension
// probe had found ".o". The previous working directory is restored afterwards.
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
        S_OBJEXT = ".o";
    }
    ~ScratchEngine()
    {
        if (!OldCwd.empty())
            [[maybe_unused]] const int ignored = chdir(OldCwd.c_str());
    }

    // Runs the classification; returns the personality lines and keeps what was printed.
    std::vector<std::string> Classify()
    {
        std::ostringstream personality;
        ::testing::internal::CaptureStdout();
        Engine->ConductKWTests(personality, false);
        Printed = ::testing::internal::GetCapturedStdout();
        return kxtest::Lines(personality.str());
    }

    kxtest::Deployment Deploy{false};
    std::string OldCwd;
    std::unique_ptr<KestrixEngine> Engine;
    std::string Printed;
};

// The keyword type tests write their own lines for the keywords found to be types; the
// classification proper is what remains.
std::vector<std::string> WithoutTypeLines(const std::vector<std::string>& lines, const std::string& typeKeyword)
{
    std::vector<std::string> rest;
    for (const std::string& line : lines) {
        if (line.find(typeKeyword) == std::string::npos && line != "-ex longlong")
            rest.push_back(line);
    }
    return rest;
}

std::string SuiteSource(const std::string& success, const std::string& body, bool execute = false)
{
    return "//Error:\n//Success:" + success + "\n" + (execute ? "//Execute" : "") + "\n" + body;
}

}  // namespace

TEST(KeywordClassification, DecisionTableForTheCProduct)
{
    ScratchEngine s("zanth", "cmp", kxtest::Fake("fake-suite-cc"));
    s.Deploy.Write("c_keyword_tests/010_type.c", SuiteSource("type", "//accept __mytype\n"));
    s.Deploy.Write("c_keyword_tests/020_decl.c", SuiteSource("decl", "//accept PORTA PORTB\n"));
    s.Deploy.Write("c_keyword_tests/030_far.c", SuiteSource("__far", "//accept __far __far2 PORTA\n"));
    s.Deploy.Write("c_keyword_tests/040_spaced.c", SuiteSource("__attribute__((x)) y", "//accept __spaced\n"));
    s.Deploy.Write("c_keyword_tests/README.txt", "not a test\n");
    KestrixEngine& e = *s.Engine;
    e.ExtensionKeywords = {"__mytype", "PORTA", "PORTB", "__far", "__far2", "__spaced", "__nothing",
                           "__builtin_foo", "__builtin_bar", "__const", "__volatile__", "__str", "__str2"};
    e.CKeywords = {"const", "volatile"};
    e.ReplaceKeywords = {{"__str", "_VMT_STRINGIFY(x)"}, {"__str2", "_VMT_STRINGIFY(y)"}};
    e.BuiltinReplaceKeywords = {{"__builtin_foo", "__builtin_foo(x)=(x)"}};
    // The C product classifies reserved words all the same.
    e.IgnoreReservedWords = {"__nothing"};

    const std::vector<std::string> lines = s.Classify();

    EXPECT_EQ(WithoutTypeLines(lines, "__mytype"),
              (std::vector<std::string>{
                  "-d \"__const=const\"",
                  "-d \"__far2=__far\"",
                  "-d \"__far=__far\"",
                  "-d \"__spaced=\"__attribute__((x)) y\"\"",
                  "-d \"__volatile__=volatile\"",
                  "-d _VMT_STRINGIFY(x)=#x",
                  "-d __builtin_foo(x)=(x)",
                  "-d __nothing=",
                  "-d __str2=_VMT_STRINGIFY(y)",
                  "-d __str=_VMT_STRINGIFY(x)",
              }));
    // A type keyword gets no line of the classification; the type tests map it onto a base type.
    for (const std::string& line : lines) {
        if (line.find("__mytype") != std::string::npos) {
            EXPECT_EQ(line.rfind("-d \"__mytype=", 0), 0u) << line;
            EXPECT_EQ(line.find("type\""), std::string::npos) << line;
        }
    }
    EXPECT_EQ(e.ForceIncludeEntries, (std::set<std::string>{"PORTA", "PORTB"}));
    EXPECT_TRUE(e.NeedForceInclude);
    EXPECT_EQ(e.KeywordDefineEntries, std::vector<std::string>{"-d __nothing="});
    EXPECT_NE(s.Printed.find("Scanning for compiler tests ...\nConducting  Keyword Tests...\n"), std::string::npos);
}

TEST(KeywordClassification, FirstPassingTestDecidesAndBuiltinsAreNotCompiled)
{
    ScratchEngine s("zanth", "cmp", kxtest::Fake("fake-suite-cc"));
    s.Deploy.Write("c_keyword_tests/a.c", SuiteSource("first", "//accept __x\n"));
    s.Deploy.Write("c_keyword_tests/b.c", SuiteSource("second", "//accept __x __y\n"));
    s.Deploy.Write("c_keyword_tests/c.c", SuiteSource("third", "//accept *\n"));
    KestrixEngine& e = *s.Engine;

    e.ExtensionKeywords = {"__y"};
    long before = e.CompilerRuns();
    EXPECT_EQ(s.Classify(), std::vector<std::string>{"-d \"__y=second\""});
    EXPECT_EQ(e.CompilerRuns() - before, 2) << "the test after the deciding one must not run";

    e.ExtensionKeywords = {"__builtin_x", "__z"};
    e.BuiltinReplaceKeywords = {{"__builtin_x", "__builtin_x(a)=a"}};
    before = e.CompilerRuns();
    EXPECT_EQ(s.Classify(), (std::vector<std::string>{"-d \"__z=third\"", "-d __builtin_x(a)=a"}));
    EXPECT_EQ(e.CompilerRuns() - before, 3);
}

TEST(KeywordClassification, EmptySuiteSendsEveryKeywordToTheReplacementRules)
{
    ScratchEngine s("zanth", "cmp", kxtest::Fake("fake-suite-cc"));
    KestrixEngine& e = *s.Engine;
    e.ExtensionKeywords = {"__a", "__b", "__c"};
    e.ReplaceKeywords = {{"__b", "int"}, {"__c", "_VMT_STRINGIFY(__c)"}};
    // Two keywords that need the same helper define get it once.
    e.ExtensionKeywords.insert("__d");
    e.ReplaceKeywords.emplace("__d", "_VMT_STRINGIFY(__d)");
    const long before = e.CompilerRuns();
    EXPECT_EQ(s.Classify(), (std::vector<std::string>{"-d _VMT_STRINGIFY(x)=#x", "-d __a=", "-d __b=int",
                                                       "-d __c=_VMT_STRINGIFY(__c)", "-d __d=_VMT_STRINGIFY(__d)"}));
    EXPECT_EQ(e.CompilerRuns(), before);
    EXPECT_EQ(e.KeywordDefineEntries, std::vector<std::string>{"-d __a="});
}

TEST(KeywordClassification, ExecuteTestNativeAndCross)
{
    const std::string suite = "c_keyword_tests/";
    auto writeSuite = [&](const kxtest::Deployment& d) {
        d.Write(suite + "010_exec.c", SuiteSource("", "//accept __e1\n//prints -bits=16\n", true));
        d.Write(suite + "020_plain.c", SuiteSource("cross", ""));
    };

    {
        // On a host that runs the programs an Execute test always decides: its result is the
        // program's report when that holds "-bits", else empty (also when nothing was built).
        ScratchEngine s("zanth", "cmp", kxtest::Fake("fake-suite-cc"));
        writeSuite(s.Deploy);
        s.Engine->ExtensionKeywords = {"__e1", "__e2"};
        EXPECT_EQ(s.Classify(), (std::vector<std::string>{"-d \"__e1=-bits=16\"", "-d \"__e2=\""}));
        EXPECT_FALSE(kxtest::FileExists(s.Deploy.InRoot(suite + "010_exec.c.exe")));
    }
    {
        // A cross compiler's programs cannot run: the Execute test never decides there.
        ScratchEngine s("zanth", "ccmp", kxtest::Fake("fake-suite-cc"));
        writeSuite(s.Deploy);
        s.Engine->ExtensionKeywords = {"__e1", "__e2"};
        const long before = s.Engine->CompilerRuns();
        EXPECT_EQ(s.Classify(), (std::vector<std::string>{"-d \"__e1=cross\"", "-d \"__e2=cross\""}));
        EXPECT_EQ(s.Engine->CompilerRuns() - before, 2);
    }
}

TEST(KeywordClassification, CppAliasesExtensionSpecsAndReservedWords)
{
    ScratchEngine s("zanthpp", "cmp", kxtest::Fake("fake-suite-cc"));
    s.Deploy.Write("cpp_keyword_tests/010.cpp", SuiteSource("plain", "//accept __inline__ __interrupt __packed__ __quiet\n"));
    KestrixEngine& e = *s.Engine;

    e.ExtensionKeywords = {"__inline__"};
    e.CppKeywords = {"inline"};
    EXPECT_EQ(s.Classify(), (std::vector<std::string>{"-sd \"__inline__=inline\"",
                                                       "-sd \"_vmt_null_expression=0 _vmt_ignore_paren\"",
                                                       "-sd vmt_ignore_paren=_ignore_paren"}));

    e.ExtensionKeywords = {"__interrupt", "__packed__", "__quiet", "__reserved"};
    e.ZanExtensionKeywords = {{"__interrupt", "__interrupt:interrupt"}, {"packed", "packed:attribute"}};
    e.IgnoreReservedWords = {"__reserved", "__quiet"};
    EXPECT_EQ(s.Classify(), (std::vector<std::string>{"-ex __interrupt:interrupt",
                                                       "-ex packed:attribute",
                                                       "-sd \"__packed__=packed\"",
                                                       "-sd \"_vmt_null_expression=0 _vmt_ignore_paren\"",
                                                       "-sd vmt_ignore_paren=_ignore_paren"}));
    EXPECT_EQ(e.ExtensionKeywords, (std::set<std::string>{"__interrupt", "__packed__"}));
}

TEST(KeywordClassification, RealGccDecidesTypeQualifierAndAlias)
{
    if (!kxtest::HaveCommand("gcc"))
        GTEST_SKIP() << "gcc is not installed";
    ScratchEngine s("zanth", "cmp", "gcc");
    s.Deploy.Write("c_keyword_tests/010_type.c", SuiteSource("type", "unsigned long kx_size = sizeof(XXX);\n"));
    s.Deploy.Write("c_keyword_tests/020_qualifier.c", SuiteSource("restrict", "int * XXX kx_pointer;\n"));
    s.Deploy.Write("c_keyword_tests/030_function.c", SuiteSource("inline", "static XXX int kx_f(void) { return 0; }\n"));
    KestrixEngine& e = *s.Engine;
    e.ExtensionKeywords = {"__inline", "__restrict", "__signed__", "__kx_unknown"};
    e.CKeywords = {"inline", "restrict", "signed"};

    const std::vector<std::string> lines = WithoutTypeLines(s.Classify(), "__signed__");
    EXPECT_EQ(lines, (std::vector<std::string>{"-d \"__inline=inline\"", "-d \"__restrict=restrict\"",
                                                "-d __kx_unknown="}));
    EXPECT_TRUE(e.ForceIncludeEntries.empty());
}

TEST(KeywordClassification, AccessSpecifiersFoundWithRealGxx)
{
    if (!kxtest::HaveCommand("g++"))
        GTEST_SKIP() << "g++ is not installed";
    ScratchEngine s("zanthpp", "cmp", "g++");
    KestrixEngine& e = *s.Engine;
    e.ImplicitDefines = {"__kx_pub=public", "__kx_prot=protected", "__kx_priv=private"};

    const long before = e.CompilerRuns();
    EXPECT_EQ(e.TestPublicProtectedPrivate("__kx_none"), "");
    EXPECT_EQ(e.CompilerRuns() - before, 1);

    e.ExtensionKeywords = {"__kx_pub", "__kx_prot", "__kx_priv", "__kx_none"};
    EXPECT_EQ(s.Classify(), (std::vector<std::string>{"-sd \"__kx_priv=private\"", "-sd \"__kx_prot=protected\"",
                                                       "-sd \"__kx_pub=public\"",
                                                       "-sd \"_vmt_null_expression=0 _vmt_ignore_paren\"",
                                                       "-sd __kx_none=", "-sd vmt_ignore_paren=_ignore_paren"}));
}

TEST(ScanTestDir, TakesEveryNameHoldingTheExtensionInPathOrder)
{
    kxtest::Deployment d(false);
    for (const char* name : {"b.c", "a.c", "x.cpp", "y.c.orig", "notes.txt", "z.h"})
        d.Write(std::string("c_tests/") + name, "");
    KestrixEngine c("zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    std::set<std::string> sources;
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(c.ScanTestDir(d.InRoot("c_tests"), sources));
    EXPECT_FALSE(c.ScanTestDir(d.InRoot("missing"), sources));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Scanning for compiler tests ...\nScanning for compiler tests ...\n");
    const std::string dir = d.InRoot("c_tests") + "/";
    EXPECT_EQ(sources, (std::set<std::string>{dir + "a.c", dir + "b.c", dir + "x.cpp", dir + "y.c.orig"}));

    KestrixEngine cpp("zanthpp", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    std::set<std::string> cppSources;
    ::testing::internal::CaptureStdout();
    cpp.ScanTestDir(d.InRoot("c_tests"), cppSources);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(cppSources, std::set<std::string>{dir + "x.cpp"});
}
