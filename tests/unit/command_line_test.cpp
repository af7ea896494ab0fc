#include <gtest/gtest.h>
#include <unistd.h>

#include "CommandLine.h"
#include "KestrixEngine.h"

namespace {

KestrixEngine MakeEngine(const std::string& product = "zanth", const std::string& kind = "cmp")
{
    return KestrixEngine(product, kind, "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
}

std::vector<std::string> Args(std::initializer_list<std::string> options)
{
    std::vector<std::string> args{"Kestrix", "zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s"};
    args.insert(args.end(), options);
    return args;
}

std::string Cwd()
{
    char* cwd = getcwd(nullptr, 0);
    std::string dir(cwd);
    free(cwd);
    return dir;
}

}  // namespace

TEST(Engine, ConstructorSetsProductKindAndDefaults)
{
    const KestrixEngine c = MakeEngine("zanth", "ccmp");
    EXPECT_TRUE(c.IsC);
    EXPECT_TRUE(c.IsCrossCompiler);
    EXPECT_EQ(c.DefineOption, "-d ");
    EXPECT_EQ(c.PersonalityFile, "/tmp/KestrixProbe.p_c");
    EXPECT_TRUE(c.SearchDirs.empty());
    EXPECT_FALSE(c.ReduceFileSize);

    // Only the exact lower-case words select C and cross mode.
    const KestrixEngine cpp = MakeEngine("ZANTH", "CCMP");
    EXPECT_FALSE(cpp.IsC);
    EXPECT_FALSE(cpp.IsCrossCompiler);
    EXPECT_EQ(cpp.DefineOption, "-sd ");
}

TEST(CommandLine, CommaSplitting)
{
    EXPECT_EQ(SplitAtCommas("a,,b,", false), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitAtCommas("a,,b,", true), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_TRUE(SplitAtCommas(",,", false).empty());
    EXPECT_EQ(SplitAtCommas(",,", true).size(), 3u);
    EXPECT_EQ(SplitAtCommas("X=1", false), (std::vector<std::string>{"X=1"}));
}

TEST(CommandLine, FullyQualifyPath)
{
    const std::string cwd = Cwd();
    EXPECT_EQ(FullyQualifyPath("/usr/include"), "/usr/include");
    EXPECT_EQ(FullyQualifyPath("."), cwd);
    EXPECT_EQ(FullyQualifyPath("sub"), cwd + "/sub");
    EXPECT_EQ(FullyQualifyPath("../x/./y"), cwd + "/../x/./y");
    EXPECT_EQ(FullyQualifyPath(""), cwd + "/");
}

TEST(CommandLine, OptionsFillTheEngine)
{
    KestrixEngine engine = MakeEngine();
    ASSERT_TRUE(ApplyOptions(engine, Args({"-i", "/b", "-i", "/a", "-i", "/a", "-i", "rel", "-xd", "X,,Y=2",
                                           "-xs", "-g,", "-xd", "Z", "-op", "first.p_c", "-op", "second.p_c",
                                           "-tpl", "t.p_c", "-fi", "f.h", "-sub", "subs"})));
    EXPECT_EQ(engine.SearchDirs, (std::set<std::string>{"/a", "/b", Cwd() + "/rel"}));
    EXPECT_EQ(engine.ImplicitDefines, (std::vector<std::string>{"X", "Y=2", "Z"}));
    EXPECT_EQ(engine.ImplicitSwitches, (std::vector<std::string>{"-g", ""}));
    EXPECT_EQ(engine.PersonalityFile, "second.p_c");
    EXPECT_EQ(engine.TemplatePersonality, "t.p_c");
    EXPECT_EQ(engine.ForceIncludeFile, "f.h");
    EXPECT_EQ(engine.SubstituteHeaderDir, "subs");
    EXPECT_FALSE(engine.ReduceFileSize);
}

TEST(CommandLine, ValuesAreScannedAsOptionsToo)
{
    KestrixEngine engine = MakeEngine();
    ASSERT_TRUE(ApplyOptions(engine, Args({"-op", "-rfs"})));
    EXPECT_EQ(engine.PersonalityFile, "-rfs");
    EXPECT_TRUE(engine.ReduceFileSize);

    // "-i" followed by two directories takes only the first.
    KestrixEngine two = MakeEngine();
    ASSERT_TRUE(ApplyOptions(two, Args({"-i", "/one", "/two"})));
    EXPECT_EQ(two.SearchDirs, (std::set<std::string>{"/one"}));
}

TEST(CommandLine, PositionalArgumentEqualToAnOptionIsAnOptionToo)
{
    KestrixEngine engine = MakeEngine();
    std::vector<std::string> args{"Kestrix", "zanth", "cmp", "cc", "-o ", "-c", "-i", ".o", "%c %d%j %o%e %s", "-rfs"};
    ASSERT_TRUE(ApplyOptions(engine, args));
    // The define flag "-i" took the extension ".o" as a directory.
    EXPECT_EQ(engine.SearchDirs, (std::set<std::string>{Cwd() + "/.o"}));
}

TEST(CommandLine, ValueOptionAsLastArgumentFails)
{
    for (const char* option : {"-i", "-op", "-xd", "-xs", "-tpl", "-fi", "-sub"}) {
        KestrixEngine engine = MakeEngine();
        EXPECT_FALSE(ApplyOptions(engine, Args({option}))) << option;
    }
    KestrixEngine engine = MakeEngine();
    EXPECT_TRUE(ApplyOptions(engine, Args({"-rfs"})));
}
