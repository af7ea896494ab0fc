// The command line: what it makes of the arguments, and what it refuses before any compile.
#include <gtest/gtest.h>

#include "engine/app/CommandLine.h"
#include "tests/support/TestSupport.h"

namespace {

CommandLine Parse(std::vector<std::string> options, const char* product = "zanth", const char* kind = "ccmp")
{
    std::vector<std::string> args{"Kestrix", product, kind, "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s"};
    args.insert(args.end(), options.begin(), options.end());
    return ParseCommandLine(args);
}

}  // namespace

TEST(CommandLine, OptionsFillTheOptionsValue)
{
    const std::string dir = kxtest::MakeTempDir("cli");
    kxtest::WriteFile(dir + "/tpl", "");
    const CommandLine line = Parse({"-i", dir, "-i", dir, "-op", "-rfs", "-xd", "a,,b,", "-xs", "s,,", "-tpl",
                                    dir + "/tpl", "-j", "3", "-timeout", "1", "-timeout", "5", "-sub", dir + "//"});
    ASSERT_EQ(line.What, CommandLine::Run) << line.Error;
    const Options& o = line.Opts;
    EXPECT_TRUE(o.IsC && o.CrossCompilerGiven);
    EXPECT_EQ(o.SearchDirs, (std::vector<std::string>{dir}));
    // An option's value is never taken for an option of its own.
    EXPECT_EQ(o.PersonalityFile, "-rfs");
    EXPECT_FALSE(o.ReduceFileSize);
    EXPECT_EQ(o.ImplicitDefines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(o.ImplicitSwitches, (std::vector<std::string>{"s", "", ""}));
    EXPECT_EQ(std::tie(o.Jobs, o.CompileTimeout, o.ProgramTimeout), std::make_tuple(3u, 5u, 5u));
    // The copy is named after the folder's last component, which a trailing slash would hide.
    EXPECT_EQ(o.SubstituteHeaderDir, dir);

    const CommandLine cpp = Parse({"-rfs"}, "ZANTH", "CCMP");
    EXPECT_FALSE(cpp.Opts.IsC || cpp.Opts.CrossCompilerGiven);
    EXPECT_EQ(cpp.Opts.PersonalityFile, "/tmp/KestrixProbe.p_c");
    EXPECT_EQ(ParseCommandLine({"Kestrix", "zanth"}).What, CommandLine::Usage);
    kxtest::RemoveTree(dir);
}
// (What the command line refuses is held in the hostile tests, against the whole program.)
