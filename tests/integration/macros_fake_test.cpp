// Predefined macro discovery through the built Kestrix against a fake compiler with a fixed
// macro table (tests/fakes/fake-macro-table): which names are tested, in which batches, and
// which define lines each value probe leads to, natively and in both cross modes.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using kxtest::Deployment;
using kxtest::Lines;
using kxtest::RunResult;

// Defined in the fake: the first nine and GIVEN_MAC and while; the fillers are not.
const char* const kHeader =
    "ONE_MAC EMPTY_MAC SUM_MAC STR_MAC FUNC_MAC DIFFER_MAC ZFIRST_MAC P_BROKEN_MAC CUT_MAC\n"
    "GIVEN_MAC while\n"
    "filler_a filler_b filler_c filler_d filler_e filler_f filler_g filler_h filler_i filler_j filler_k\n";

struct FakeRun {
    RunResult Result;
    std::vector<std::string> Defines;   // the personality's define lines
    std::vector<std::string> Calls;     // the fake's log of probes
};

// One run of Kestrix with the fake in a deployment of its own; the lists hold only the C
// and C++ keyword "while".
FakeRun RunFake(const std::string& product, const std::string& kind, const std::string& objEnv,
                const std::vector<std::string>& extra)
{
    Deployment deployment(false);
    for (const char* list : {"c_replace_keywords.txt", "cpp_replace_keywords.txt", "ignore_keywords.txt",
                             "ignore_reserved_words.txt", "zan_extension_keywords.txt",
                             "builtin_replace_keywords.txt"})
        deployment.Write(std::string("work/") + list, "");
    deployment.Write("work/c_keywords.txt", "while\n");
    deployment.Write("work/cpp_keywords.txt", "while\n");
    deployment.Write("headers/defs.h", kHeader);

    const std::string compiler = objEnv.empty() ? kxtest::Fake("fake-macro-table")
                                                : objEnv + " " + kxtest::Fake("fake-macro-table");
    std::vector<std::string> args{product, kind, compiler, "-o ", "-c", "-D", "", "%c %d%j %o%e %s",
                                  "-i", deployment.InRoot("headers"), "-op", deployment.Personality()};
    args.insert(args.end(), extra.begin(), extra.end());
    FakeRun run;
    run.Result = deployment.Run(args);
    for (const std::string& line : Lines(kxtest::ReadFile(deployment.Personality())))
        if (line.rfind("-d ", 0) == 0 || line.rfind("-sd ", 0) == 0)
            run.Defines.push_back(line);
    run.Calls = Lines(kxtest::ReadFile(deployment.InWork("calls.log")));
    return run;
}

std::vector<std::string> CallsOfKind(const FakeRun& run, const std::string& kind)
{
    std::vector<std::string> calls;
    for (const std::string& call : run.Calls)
        if (call.rfind(kind + " ", 0) == 0)
            calls.push_back(call.substr(kind.size() + 1));
    return calls;
}

class MacrosFakeTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Native = new FakeRun(RunFake("zanth", "cmp", "", {"-xd", "GIVEN_MAC=5,,OTHER"}));
        Cross = new FakeRun(RunFake("zanthpp", "ccmp", "", {}));
        CrossText = new FakeRun(RunFake("zanth", "ccmp", "FAKE_OBJ=rel", {"-rfs"}));
    }
    static void TearDownTestSuite()
    {
        delete Native;
        delete Cross;
        delete CrossText;
    }
    static FakeRun* Native;
    static FakeRun* Cross;
    static FakeRun* CrossText;
};
FakeRun* MacrosFakeTest::Native = nullptr;
FakeRun* MacrosFakeTest::Cross = nullptr;
FakeRun* MacrosFakeTest::CrossText = nullptr;

TEST_F(MacrosFakeTest, NativeValuesFollowTheWritingRulesAfterTheUsersDefines)
{
    ASSERT_EQ(Native->Result.Status, 0) << Native->Result.Stdout;
    // -xd entries first and verbatim; then the found entries in byte order. FUNC_MAC
    // expands to its own name, P_BROKEN_MAC and CUT_MAC build no program; while (a keyword)
    // and GIVEN_MAC (given by the user) are never tested, although the fake defines them.
    EXPECT_EQ(Native->Defines, (std::vector<std::string>{
                                   "-d GIVEN_MAC=5",
                                   "-d OTHER",
                                   "-d \"SUM_MAC=(1 + 2)\"",
                                   "-d DIFFER_MAC=2",
                                   "-d EMPTY_MAC=",
                                   "-d ONE_MAC=1",
                                   "-d STR_MAC=_VMT_STRINGIFY(abc)",
                                   "-d ZFIRST_MAC=9",
                                   "-d _VMT_STRINGIFY(x)=#x",
                               }));
    const std::string& out = Native->Result.Stdout;
    EXPECT_NE(out.find("Scanning for compiler defines ...\n"), std::string::npos);
    EXPECT_NE(out.find("Calculating compiler define values ...\n"), std::string::npos);
    // The previous name's program is gone before each build, so a failed build cannot
    // pass off ONE_MAC's value as P_BROKEN_MAC's.
    EXPECT_NE(out.find("deftest.c failed to compile! can't find value of: P_BROKEN_MAC\n"), std::string::npos);
    EXPECT_NE(out.find("deftest.c failed to compile! can't find value of: CUT_MAC\n"), std::string::npos);
}

TEST_F(MacrosFakeTest, ExistenceBatchesStartAtTheLargestLevelThatFitsAndHalve)
{
    // 20 candidates (9 defined, 11 fillers): the first compile is at 16; each level re-tests
    // only the batches that named ak12345 at the level above.
    EXPECT_EQ(CallsOfKind(*Native, "exist"),
              (std::vector<std::string>{"16", "4", "8", "8", "4", "4", "4", "4", "2", "2", "2", "2", "2", "2",
                                        "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}));
    EXPECT_EQ(CallsOfKind(*Native, "program"),
              (std::vector<std::string>{"CUT_MAC", "DIFFER_MAC", "EMPTY_MAC", "FUNC_MAC", "ONE_MAC",
                                        "P_BROKEN_MAC", "STR_MAC", "SUM_MAC", "ZFIRST_MAC"}));
    // One line per tested level, none for the skipped ones.
    const std::string& out = Native->Result.Stdout;
    EXPECT_NE(out.find("  [macros] batches of 16: 20 names, 2 compiler runs\n"), std::string::npos);
    EXPECT_NE(out.find("  [macros] batches of 1: 10 names, 10 compiler runs\n"), std::string::npos);
    EXPECT_EQ(out.find("batches of 32:"), std::string::npos);
}

TEST_F(MacrosFakeTest, CrossModeRecordsBothMethodsAndKeepsEqualValuesOnce)
{
    ASSERT_EQ(Cross->Result.Status, 0) << Cross->Result.Stdout;
    // Without -xd GIVEN_MAC is tested like any other name. DIFFER_MAC differs between the
    // message and the object, so both values are written; the others agree and appear once.
    // ZFIRST_MAC's message has a "zzz" before its "yyy", and CUT_MAC's has a "yyy" alone on
    // its line: neither reading yields a value.
    EXPECT_EQ(Cross->Defines, (std::vector<std::string>{
                                  "-sd \"SUM_MAC=(1 + 2)\"",
                                  "-sd DIFFER_MAC=1",
                                  "-sd DIFFER_MAC=2",
                                  "-sd EMPTY_MAC=",
                                  "-sd GIVEN_MAC=3",
                                  "-sd ONE_MAC=1",
                                  "-sd STR_MAC=_VMT_STRINGIFY(abc)",
                                  "-sd ZFIRST_MAC=9",
                                  "-sd _VMT_STRINGIFY(x)=#x",
                              }));
    // Both methods run for every defined name, in name order.
    const std::vector<std::string> include = CallsOfKind(*Cross, "include");
    EXPECT_EQ(include.size(), 10U);
    EXPECT_EQ(CallsOfKind(*Cross, "object"), include);
    EXPECT_TRUE(CallsOfKind(*Cross, "program").empty());
}

TEST_F(MacrosFakeTest, TextObjectsLeaveOnlyTheCompilersMessage)
{
    ASSERT_EQ(CrossText->Result.Status, 0) << CrossText->Result.Stdout;
    EXPECT_EQ(CrossText->Defines, (std::vector<std::string>{
                                      "-d \"SUM_MAC=(1 + 2)\"",
                                      "-d DIFFER_MAC=1",
                                      "-d EMPTY_MAC=",
                                      "-d GIVEN_MAC=3",
                                      "-d ONE_MAC=1",
                                      "-d STR_MAC=_VMT_STRINGIFY(abc)",
                                      "-d ZFIRST_MAC=9",
                                      "-d _VMT_STRINGIFY(x)=#x",
                                  }));
    EXPECT_TRUE(CallsOfKind(*CrossText, "object").empty());
    // With -rfs the levels start at 1024 at most; 21 candidates start at 16 all the same.
    EXPECT_EQ(CallsOfKind(*CrossText, "exist").front(), "16");
}

}  // namespace
