// Include path discovery against real compilers and against fake compilers whose search
// list is known exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"

using namespace kxtest;

namespace {

struct IncludeLines {
    std::vector<std::string> Include;  // directories of the "-i "/"-si " lines, in order
    std::vector<std::string> Quote;    // directories of the "-q " lines, in order
    std::string Stdout;
};

// Runs Kestrix and collects the include lines of the personality.
IncludeLines RunForIncludes(const Deployment& d, std::vector<std::string> args, const std::string& prefix)
{
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 0) << r.Stdout;
    IncludeLines lines;
    lines.Stdout = r.Stdout;
    for (const std::string& line : Lines(ReadFile(d.Personality()))) {
        auto quoted = [&](std::size_t from) { return line.substr(from + 1, line.size() - from - 2); };
        if (line.rfind(prefix, 0) == 0)
            lines.Include.push_back(quoted(prefix.size()));
        else if (line.rfind("-q ", 0) == 0)
            lines.Quote.push_back(quoted(3));
    }
    return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

bool HoldsFiles(const std::string& dir)
{
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); ++it)
        if (!it->is_directory())
            return true;
    return false;
}

// The compiler's own search list, restricted to directories that hold files.
std::vector<std::string> ExpectedDirs(const std::string& compiler, const std::string& language)
{
    std::vector<std::string> dirs;
    for (const std::string& dir : SearchList(compiler, language))
        if (HoldsFiles(dir))
            dirs.push_back(dir);
    return dirs;
}

std::vector<std::string> WithSearchDirs(std::vector<std::string> args, const std::vector<std::string>& dirs)
{
    for (const std::string& dir : dirs)
        args.insert(args.end(), {"-i", dir});
    return args;
}

}  // namespace

TEST(IncludePaths, GccFindsExactlyItsOwnDirectories)
{
    const std::vector<std::string> search = SearchList("gcc", "c");
    ASSERT_FALSE(search.empty());
    Deployment d;
    const IncludeLines lines = RunForIncludes(d, WithSearchDirs(GccLikeArgs("zanth", "ccmp", "gcc"), search), "-i ");
    EXPECT_EQ(Sorted(lines.Include), Sorted(ExpectedDirs("gcc", "c"))) << lines.Stdout;
    EXPECT_EQ(lines.Include, lines.Quote);
    EXPECT_NE(lines.Stdout.find("The order of these header directories may need to be reviewed."), std::string::npos);
}

TEST(IncludePaths, GxxWritesTheCppPrefix)
{
    const std::vector<std::string> search = SearchList("g++", "c++");
    ASSERT_FALSE(search.empty());
    Deployment d;
    const IncludeLines lines = RunForIncludes(d, WithSearchDirs(GccLikeArgs("zanthpp", "ccmp", "g++"), search), "-si ");
    EXPECT_EQ(Sorted(lines.Include), Sorted(ExpectedDirs("g++", "c++"))) << lines.Stdout;
    EXPECT_EQ(lines.Include, lines.Quote);
}

TEST(IncludePaths, AvrGccInCrossMode)
{
    if (!HaveCommand("avr-gcc"))
        GTEST_SKIP() << "avr-gcc is not installed";
    const std::vector<std::string> search = SearchList("avr-gcc", "c");
    ASSERT_FALSE(search.empty());
    Deployment d;
    const IncludeLines lines = RunForIncludes(d, WithSearchDirs(GccLikeArgs("zanth", "ccmp", "avr-gcc"), search), "-i ");
    const std::vector<std::string> expected = ExpectedDirs("avr-gcc", "c");
    EXPECT_EQ(Sorted(lines.Include), Sorted(expected)) << lines.Stdout;
    bool gccDir = false, libcDir = false;
    for (const std::string& dir : lines.Include) {
        gccDir = gccDir || dir.rfind("/usr/lib/gcc/avr", 0) == 0;
        libcDir = libcDir || dir == "/usr/lib/avr/include";
    }
    EXPECT_TRUE(gccDir);
    EXPECT_TRUE(libcDir);
}

class FakeSearch : public testing::Test {
protected:
    void SetUp() override
    {
        // Two directories that share common.h, each with a header of its own, and a
        // subdirectory reached only through its parent.
        d.Write("inc/a/common.h", "int a_common;\n");
        d.Write("inc/a/a_only.h", "int a_only;\n");
        d.Write("inc/b/common.h", "int b_common;\n");
        d.Write("inc/b/b_only.h", "int b_only;\n");
        d.Write("inc/b/sys/types.h", "int sys_types;\n");
        d.Write("inc/unused/u.h", "int u;\n");
        a = d.InRoot("inc/a");
        b = d.InRoot("inc/b");
    }

    IncludeLines Run(const std::string& compiler, const std::string& searchOrder)
    {
        setenv("FAKE_SEARCH", searchOrder.c_str(), 1);
        std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", compiler);
        args.insert(args.end(), {"-i", a, "-i", b, "-i", d.InRoot("inc/unused")});
        IncludeLines lines = RunForIncludes(d, args, "-i ");
        unsetenv("FAKE_SEARCH");
        return lines;
    }

    Deployment d;
    std::string a, b;
};

TEST_F(FakeSearch, OrderFollowsTheCompilersChoiceOfACommonHeader)
{
    const IncludeLines lines = Run(Fake("fake-search"), b + ":" + a);
    EXPECT_EQ(lines.Include, (std::vector<std::string>{b, a})) << lines.Stdout;
    EXPECT_EQ(lines.Quote, lines.Include);
}

TEST_F(FakeSearch, DiscoveryOrderStandsWhenItAlreadyMatches)
{
    const IncludeLines lines = Run(Fake("fake-search"), a + ":" + b);
    EXPECT_EQ(lines.Include, (std::vector<std::string>{a, b})) << lines.Stdout;
}

TEST_F(FakeSearch, PathsQuotedInAnotherFormLeaveTheDiscoveryOrder)
{
    const IncludeLines lines = Run(Fake("fake-path-form"), b + ":" + a);
    EXPECT_EQ(lines.Include, (std::vector<std::string>{a, b})) << lines.Stdout;
}

TEST_F(FakeSearch, SingleDirectoryNeedsNoReview)
{
    const IncludeLines lines = Run(Fake("fake-search"), a);
    EXPECT_EQ(lines.Include, (std::vector<std::string>{a}));
    EXPECT_EQ(lines.Stdout.find("may need to be reviewed"), std::string::npos);
}

TEST_F(FakeSearch, NoDirectoryFound)
{
    const IncludeLines lines = Run(Fake("fake-search"), d.InRoot("nowhere"));
    EXPECT_TRUE(lines.Include.empty());
    EXPECT_TRUE(lines.Quote.empty());
    EXPECT_NE(lines.Stdout.find("Couldn't determine compiler include paths.\n"
                                "The search directory(s) you have specified are either not on the compiler path, "
                                "or the compiler does not have an implicit include path.\n"
                                "Please review the search directories and the compile command to ensure that the "
                                "compiler can locate its own standard header files.\n"),
              std::string::npos)
        << lines.Stdout;
}
