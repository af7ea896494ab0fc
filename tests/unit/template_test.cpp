// The template personality: what each kind of section collects, how the merge applies it,
// and what a broken section syntax is reported as (its entries never reach the personality).
#include <gtest/gtest.h>

#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"
#include "engine/output/TemplateMerge.h"
#include "tests/support/TestSupport.h"

using Lines = std::vector<std::string>;

TEST(TemplateSectionsTest, EntriesPerKindAndFaultsByLine)
{
    const struct {
        const char* Text;
        Lines Modify, Add, Remove;
        const char* Problem;  // the start of the one problem, or "" for none
    } cases[] = {
        {"note <outside>\n<modify>\n -s long=64 \n</modify>\n", {"-s long=64"}, {}, {}, ""},
        {"<modify>\na\n</modify><add>\nb\n</add> <remove>\nc\n</remove>\n", {"a"}, {"b"}, {"c"}, ""},
        {"<add></add>\n-u+\n", {}, {}, {}, ""},
        {"<add>\n-u+\n", {}, {}, {}, "the <add> section opened at line 1 is never closed"},
        {"<add>\n-u+\n<remove>\n-u-\n</remove>\n", {}, {}, {"-u-"}, "line 3 holds <remove> inside the <add> section opened at line 1"},
        {"<modify>\na\n</add>\n</modify>\n", {}, {}, {}, "line 3 holds </add> inside the <modify> section"},
        {"text\n</remove>\n", {}, {}, {}, "line 2 closes a <remove> section that was never opened"},
    };
    for (const auto& c : cases) {
        const TemplateSections s = ReadTemplateSections(SplitLines(c.Text));
        EXPECT_EQ(std::tie(s.Modify, s.Add, s.Remove), std::tie(c.Modify, c.Add, c.Remove)) << c.Text;
        EXPECT_TRUE(*c.Problem ? !s.Problems.empty() && s.Problems[0].rfind(c.Problem, 0) == 0 : s.Problems.empty())
            << c.Text << (s.Problems.empty() ? "" : s.Problems[0]);
    }
}

TEST(TemplateSectionsTest, TheMergeAppliesEachSectionAndABrokenOneMergesNothing)
{
    const std::string dir = kxtest::MakeTempDir("template");
    const struct {
        const char* Template;
        Lines Before, After;
        bool Merged;
    } cases[] = {
        {"comment outside sections\n<modify>\n -s long=64 \n-d \"X = 2\"\n-s new=8\n</modify>\n"
         "<add>\n-u+\n-d A=1\n</add><remove>\n-d gone=\n</remove>\n",
         {"-s long=32", "-d X=1", "-d gone=", "-u+", "-d kept="},
         {"-s long=64", "-d \"X = 2\"", "-u+", "-d kept=", "-d A=1", "-s new=8"}, true},
        {"<modify>\n-s long=64\n</modify>\n<add>\n-d A=1\n<remove>\n-u+\n</remove>\n", {"-s long=32", "-u+"},
         {"-s long=64"}, false},
    };
    for (const auto& c : cases) {
        kxtest::WriteFile(dir + "/t", c.Template);
        Lines lines = c.Before;
        CapturedLines quiet;
        EXPECT_EQ(IncorporateTemplatePersonality(lines, dir + "/t", {"-d kept=", "-d gone="}), c.Merged);
        EXPECT_EQ(lines, c.After);
    }
    EXPECT_TRUE(EntriesMatch("-d \"__asm=asm\"", "-d __asm="));
    EXPECT_FALSE(EntriesMatch("-u+", "-u-"));
    kxtest::RemoveTree(dir);
}
