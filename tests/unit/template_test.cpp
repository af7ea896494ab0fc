// The template personality: what each kind of section collects, how the merge applies it,
// and what a broken section syntax is reported as (its entries never reach the personality).
#include <gtest/gtest.h>

#include "engine/core/Reporter.h"
#include "engine/output/TemplateMerge.h"
#include "tests/support/TestSupport.h"
#include "engine/core/TextUtilities.h"

TEST(TemplateSectionsTest, EntriesPerKindAndFaultsByLine)
{
    using Lines = std::vector<std::string>;
    const struct {
        const char* Text;
        Lines Modify, Add, Remove;
        const char* Problem;  // the start of the one problem, or "" for none
    } cases[] = {
        {"note <outside>\n<modify>\n -s long=64 \n</modify>\n", {"-s long=64"}, {}, {}, ""},
        {"<modify>\na\n</modify><add>\nb\n</add> <remove>\nc\n</remove>\n", {"a"}, {"b"}, {"c"}, ""},
        {"<add></add>\n-u+\n", {}, {}, {}, ""},
        {"<add>\n-u+\n", {}, {}, {}, "the <add> section opened at line 1 is never closed"},
        {"<add>\n-u+\n<remove>\n-u-\n</remove>\n", {}, {}, {"-u-"},
         "line 3 holds <remove> inside the <add> section opened at line 1"},
        {"<modify>\na\n</add>\n</modify>\n", {}, {}, {}, "line 3 holds </add> inside the <modify> section"},
        {"text\n</remove>\n", {}, {}, {}, "line 2 closes a <remove> section that was never opened"},
    };
    for (const auto& c : cases) {
        const TemplateSections sections = ReadTemplateSections(SplitLines(c.Text));
        EXPECT_EQ(sections.Modify, c.Modify) << c.Text;
        EXPECT_EQ(sections.Add, c.Add) << c.Text;
        EXPECT_EQ(sections.Remove, c.Remove) << c.Text;
        if (*c.Problem == '\0') {
            EXPECT_TRUE(sections.Problems.empty()) << c.Text;
        } else {
            ASSERT_FALSE(sections.Problems.empty()) << c.Text;
            EXPECT_EQ(sections.Problems.front().rfind(c.Problem, 0), 0u) << sections.Problems.front();
        }
    }
}

TEST(TemplateSectionsTest, TheMergeAppliesEachSectionAndABrokenOneMergesNothing)
{
    const std::string dir = kxtest::MakeTempDir("template");
    kxtest::WriteFile(dir + "/t", "comment outside sections\n<modify>\n -s long=64 \n-d \"X = 2\"\n-s new=8\n</modify>\n"
                                  "<add>\n-u+\n-d A=1\n</add><remove>\n-d gone=\n</remove>\n");
    std::vector<std::string> lines{"-s long=32", "-d X=1", "-d gone=", "-u+", "-d kept="};
    EXPECT_TRUE(IncorporateTemplatePersonality(lines, dir + "/t", {"-d kept=", "-d gone="}));
    EXPECT_EQ(lines, (std::vector<std::string>{"-s long=64", "-d \"X = 2\"", "-u+", "-d kept=", "-d A=1", "-s new=8"}));
    EXPECT_TRUE(EntriesMatch("-d \"__asm=asm\"", "-d __asm="));
    EXPECT_FALSE(EntriesMatch("-u+", "-u-"));

    kxtest::WriteFile(dir + "/t", "<modify>\n-s long=64\n</modify>\n<add>\n-d A=1\n<remove>\n-u+\n</remove>\n");
    lines = {"-s long=32", "-u+"};
    CapturedLines quiet;
    EXPECT_FALSE(IncorporateTemplatePersonality(lines, dir + "/t", {}));
    EXPECT_EQ(lines, (std::vector<std::string>{"-s long=64"}));
    kxtest::RemoveTree(dir);
}
