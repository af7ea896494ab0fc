// The command line: what it makes of the arguments, and what it refuses before any compile.
#include <gtest/gtest.h>

#include "engine/app/CommandLine.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<std::string> Args(std::vector<std::string> options)
{
    std::vector<std::string> args{"Kestrix", "zanth", "ccmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s"};
    args.insert(args.end(), options.begin(), options.end());
    return args;
}

}  // namespace

TEST(CommandLine, OptionsFillTheOptionsValue)
{
    const std::string dir = kxtest::MakeTempDir("cli");
    kxtest::WriteFile(dir + "/tpl", "");
    const CommandLine line = ParseCommandLine(
        Args({"-i", dir, "-i", dir, "-op", "-rfs", "-xd", "a,,b,", "-xs", "s,,", "-tpl", dir + "/tpl", "-j", "3",
              "-timeout", "1", "-timeout", "5", "-sub", dir + "//"}));
    ASSERT_EQ(line.What, CommandLine::Run) << line.Error;
    const Options& o = line.Opts;
    EXPECT_TRUE(o.IsC);
    EXPECT_TRUE(o.CrossCompilerGiven);
    EXPECT_EQ(o.SearchDirs, (std::vector<std::string>{dir}));
    // An option's value is never taken for an option of its own.
    EXPECT_EQ(o.PersonalityFile, "-rfs");
    EXPECT_FALSE(o.ReduceFileSize);
    EXPECT_EQ(o.ImplicitDefines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(o.ImplicitSwitches, (std::vector<std::string>{"s", "", ""}));
    EXPECT_EQ(o.Jobs, 3u);
    EXPECT_EQ(o.CompileTimeout, 5u);
    // The copy is named after the folder's last component, which a trailing slash would hide.
    EXPECT_EQ(o.SubstituteHeaderDir, dir);
    // The last -timeout counts for programs as for compiles.
    EXPECT_EQ(o.ProgramTimeout, 5u);
    EXPECT_STREQ(o.DefineOption(), "-d ");

    const CommandLine cpp = ParseCommandLine({"Kestrix", "ZANTH", "CCMP", "cc", "-o ", "-c", "-D", ".o",
                                              "%c %d%j %o%e %s", "-rfs"});
    EXPECT_FALSE(cpp.Opts.IsC);
    EXPECT_FALSE(cpp.Opts.CrossCompilerGiven);
    EXPECT_EQ(cpp.Opts.PersonalityFile, "/tmp/KestrixProbe.p_c");
    EXPECT_EQ(ParseCommandLine({"Kestrix", "zanth"}).What, CommandLine::Usage);
    kxtest::RemoveTree(dir);
}

TEST(CommandLine, UnusableArgumentsAreRefusedWithTheirReason)
{
    const std::string dir = kxtest::MakeTempDir("cli");
    kxtest::WriteFile(dir + "/file", "");
    const struct {
        std::vector<std::string> Options;
        const char* Reason;
    } cases[] = {
        {{"-i", dir, dir}, "Unexpected argument"},
        {{"-tpl", dir}, "is a directory"},
        {{"-sub", dir + "/file"}, "is not a directory"},
        // Here only, never in a run: an engine that took it would copy the whole file system.
        {{"-sub", "//"}, "it is the root directory"},
        {{"-j", "0"}, "-j"},
        {{"-timeout", "soon"}, "-timeout"},
        // An empty name would be the working directory; a second personality or tree would
        // silently replace the first.
        {{"-i", ""}, "Cannot use the search directory \"\" (-i): the name is empty."},
        {{"-op", dir + "/a.p_c", "-op", dir + "/b.p_c"}, "The option -op is given twice; give it once."},
        {{"-sub", dir, "-sub", dir}, "The option -sub is given twice"},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(Args(c.Options));
        EXPECT_EQ(line.What, CommandLine::Refused) << c.Reason;
        EXPECT_NE(line.Error.find(c.Reason), std::string::npos) << line.Error;
    }
    kxtest::RemoveTree(dir);
}
