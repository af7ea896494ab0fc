// Extension keyword discovery against a fake compiler that reserves a fixed set of words and
// stops at its first error (tests/fakes/fake-kw-reserved): the exact batches of every level,
// the "redefinition" rule and the guard for predefined macros.
#include "KestrixEngine.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Runs the keyword phase of an engine set up for the fake in a scratch working directory and
// returns the fake's log of batches ("BLOCKS pass|fail" per compile).
class ExtKwFakeTest : public testing::Test {
protected:
    void SetUp() override
    {
        Dir = kxtest::MakeTempDir("extkw");
        char buffer[4096];
        ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
        OldDir = buffer;
        ASSERT_EQ(chdir(Dir.c_str()), 0);
    }
    void TearDown() override
    {
        [[maybe_unused]] const int back = chdir(OldDir.c_str());
        kxtest::RemoveTree(Dir);
    }

    std::vector<std::string> Discover(KestrixEngine& engine, const std::vector<std::string>& names)
    {
        engine.PossibleDefines.insert(names.begin(), names.end());
        engine.PossibleKeywords.insert(names.begin(), names.end());
        testing::internal::CaptureStdout();
        engine.GetObjectFileExtension(S_OBJEXT, engine.ObjectFileExtension);
        engine.FindExtensionKeywords();
        Stdout = testing::internal::GetCapturedStdout();
        std::vector<std::string> calls;
        for (const std::string& line : kxtest::Lines(kxtest::ReadFile("calls.log")))
            calls.push_back(line.substr(line.find(' ') + 1));
        return calls;
    }

    static KestrixEngine MakeEngine()
    {
        return KestrixEngine("zanth", "ccmp", kxtest::Fake("fake-kw-reserved"), "-o ", "-c", "-D", ".o",
                             "%c %d%j %o%e %s");
    }

    std::string Dir;
    std::string OldDir;
    std::string Stdout;
};

std::vector<std::string> Names(int count, const std::string& prefix)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        names.push_back(prefix + std::string(5 - number.size(), '0') + number);
    }
    return names;
}

TEST_F(ExtKwFakeTest, HalvingFindsSingleKeywordsAndARedefinitionDropsOnlyItsName)
{
    KestrixEngine engine = MakeEngine();
    engine.CKeywords = {"while"};
    // In byte order: p01 .. p20, plus the C keyword while, which is never tested. p19_mac is
    // a predefined macro that the fake would reject if the guard did not skip it.
    const std::vector<std::string> names{
        "p01", "p02", "p03_kw", "p04", "p05", "p06_redef", "p07_kw", "p08", "p09", "p10_kw",
        "p11", "p12", "p13", "p14", "p15", "p16", "p17", "p18_kw", "p19_mac", "p20", "while"};
    const std::vector<std::string> calls = Discover(engine, names);

    EXPECT_EQ(calls, (std::vector<std::string>{
                         // 16: p03_kw fails the first batch, p18_kw the rest
                         "16 fail", "4 fail",
                         // 8
                         "8 fail", "8 fail", "4 fail",
                         // 4: p05..p08 fails with "redefinition" and is split further,
                         // for p07_kw hides behind p06_redef; p13..p16 passes
                         "4 fail", "4 fail", "4 fail", "4 pass", "4 fail",
                         // 2: p05/p06_redef fails with "redefinition" again and is split
                         "2 pass", "2 fail", "2 fail", "2 fail", "2 fail", "2 pass", "2 fail", "2 pass",
                         // 1: p06_redef alone is dropped for its redefinition
                         "1 fail", "1 pass", "1 pass", "1 fail", "1 fail", "1 pass", "1 pass", "1 fail",
                         "1 pass", "1 fail"}));
    EXPECT_EQ(engine.ExtensionKeywords, (std::set<std::string>{"p03_kw", "p07_kw", "p10_kw", "p18_kw"}));
    EXPECT_EQ(engine.CompilerRuns(), 1 + static_cast<long>(calls.size()));

    // The logs are removed, the last source stays; no object is left behind.
    EXPECT_FALSE(kxtest::FileExists("stdout.log"));
    EXPECT_FALSE(kxtest::FileExists("stderr.log"));
    EXPECT_EQ(kxtest::ReadFile("exttest.c"), "#ifndef p18_kw\nint p18_kw[1];\n#endif\n");
    EXPECT_FALSE(kxtest::FileExists("exttest.o"));

    EXPECT_NE(Stdout.find("Scanning for compiler extension keywords ...\n"), std::string::npos);
    EXPECT_NE(Stdout.find("  [keywords] batches of 4: 20 names, 5 compiler runs\n"), std::string::npos);
}

TEST_F(ExtKwFakeTest, ReducedFileSizeStartsAt1024)
{
    // 600 names with -rfs: the level of 1024 is skipped and 512 takes two batches.
    KestrixEngine small = MakeEngine();
    small.ReduceFileSize = true;
    EXPECT_EQ(Discover(small, Names(600, "n")), (std::vector<std::string>{"512 pass", "88 pass"}));
    std::remove("calls.log");

    // 17000 names: one batch of 16384 and the rest, or seventeen of 1024 with -rfs.
    KestrixEngine full = MakeEngine();
    EXPECT_EQ(Discover(full, Names(17000, "n")), (std::vector<std::string>{"16384 pass", "616 pass"}));
    std::remove("calls.log");
    KestrixEngine reduced = MakeEngine();
    reduced.ReduceFileSize = true;
    const std::vector<std::string> calls = Discover(reduced, Names(17000, "n"));
    ASSERT_EQ(calls.size(), 17U);
    EXPECT_EQ(calls.front(), "1024 pass");
    EXPECT_EQ(calls.back(), "616 pass");
    EXPECT_TRUE(reduced.ExtensionKeywords.empty());
}

TEST_F(ExtKwFakeTest, NoCandidatesMeansNoCompile)
{
    KestrixEngine engine = MakeEngine();
    EXPECT_TRUE(Discover(engine, {}).empty());
    EXPECT_EQ(engine.CompilerRuns(), 1);   // the object extension probe only
    EXPECT_TRUE(engine.ExtensionKeywords.empty());
}

}  // namespace
