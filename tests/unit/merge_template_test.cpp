#include <gtest/gtest.h>

#include <sys/stat.h>

#include "KestrixEngine.h"
#include "TestSupport.h"

namespace {

class TemplateMerge : public ::testing::Test {
protected:
    void SetUp() override { Dir = kxtest::MakeTempDir("merge"); }
    void TearDown() override { kxtest::RemoveTree(Dir); }

    // Merges the template into a personality holding the given text; returns the
    // personality afterwards and keeps what the merge printed.
    std::string Merge(const std::string& personality, const std::string& templ)
    {
        kxtest::WriteFile(PersonalityPath(), personality);
        kxtest::WriteFile(TemplatePath(), templ);
        ::testing::internal::CaptureStdout();
        Engine.IncorporateTemplatePersonality(PersonalityPath(), TemplatePath());
        Printed = ::testing::internal::GetCapturedStdout();
        return kxtest::ReadFile(PersonalityPath());
    }

    std::string PersonalityPath() const { return Dir + "/p.p_c"; }
    std::string TemplatePath() const { return Dir + "/t.tpl"; }

    std::string Dir;
    std::string Printed;
    KestrixEngine Engine{"zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s"};
};

const char* const kReviewHeader = "The following keywords may need to be reviewed:\n";

}  // namespace

TEST(EntriesMatch, KeysIgnoreBlanksQuotesParametersAndValues)
{
    KestrixEngine engine("zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    EXPECT_TRUE(engine.EntriesMatch("-d \"__asm=asm\"", "-d __asm="));
    EXPECT_TRUE(engine.EntriesMatch("-s int=32", "-s int=16"));
    EXPECT_TRUE(engine.EntriesMatch("-d _VMT_STRINGIFY(x)=#x", "-d_VMT_STRINGIFY"));
    EXPECT_TRUE(engine.EntriesMatch("-i \"/usr/include\"", "-i /usr/include"));
    EXPECT_FALSE(engine.EntriesMatch("-u+", "-u-"));
    EXPECT_FALSE(engine.EntriesMatch("-s int=32", "-s long=32"));
    EXPECT_FALSE(engine.EntriesMatch("-d A", "-sd A"));
}

TEST_F(TemplateMerge, ModifyReplacesInPlaceAndUnmatchedModifyIsAdded)
{
    const std::string result = Merge("-s int=32\n-s long=32\n-a long=4\n",
                                     "<modify>\n  -s long=64  \n-s ldouble=128\n</modify>\n");
    EXPECT_EQ(result, "-s int=32\n-s long=64\n-a long=4\n-s ldouble=128\n");
    EXPECT_EQ(Printed, "Incorporating Template Personality\n" + std::string(kReviewHeader));
}

TEST_F(TemplateMerge, TwoModifyEntriesWithOneKeyAreBothTakenByTheFirstLine)
{
    const std::string result = Merge("-s long=32\n-s long=16\n",
                                     "<modify>\n-s long=64\n-s long=40\n</modify>\n");
    EXPECT_EQ(result, "-s long=40\n-s long=16\n");
}

TEST_F(TemplateMerge, ModifyMatchesOtherSpacingButRemoveNeedsTheExactLine)
{
    const std::string generated = "-d \"__asm=asm\"\n-d __far=\n-d __near=\n";
    const std::string result = Merge(generated,
                                     "<modify>\n-d   __asm=__asm__\n</modify>\n"
                                     "<remove>\n-d \"__far=\"\n-d __near=\n</remove>\n");
    EXPECT_EQ(result, "-d   __asm=__asm__\n-d __far=\n");
}

TEST_F(TemplateMerge, AddSkipsExactDuplicatesButKeepsOtherValuesOfAKey)
{
    const std::string result = Merge("-s int=32\n",
                                     "<add>\n-s int=32\n-s int=16\n-ex longlong\n-ex longlong\n</add>\n");
    EXPECT_EQ(result, "-s int=32\n-s int=16\n-ex longlong\n");
}

TEST_F(TemplateMerge, TemplateWithoutSectionsRewritesTheSameLinesAndListsEveryReviewEntry)
{
    Engine.KeywordDefineEntries = {"-d __far=", "-d __near="};
    const std::string generated = "-s int=32\n\n-u-\n";
    EXPECT_EQ(Merge(generated, "just a comment\n-s int=16\n"), generated);
    EXPECT_EQ(Printed, "Incorporating Template Personality\n" + std::string(kReviewHeader) +
                           "-d __far=\n-d __near=\n");
    EXPECT_EQ(Merge(generated, ""), generated);
}

TEST_F(TemplateMerge, ReviewListLeavesOutEntriesRepeatedVerbatimInModifyOrRemove)
{
    Engine.KeywordDefineEntries = {"-d __a=", "-d __b=", "-d __c=", "-d __d="};
    Merge("-d __a=\n-d __b=\n-d __c=\n-d __d=\n",
          "<modify>\n-d __a=\n-d  __c=\n</modify>\n<remove>\n-d __b=\n</remove>\n");
    EXPECT_EQ(Printed, "Incorporating Template Personality\n" + std::string(kReviewHeader) +
                           "-d __c=\n-d __d=\n");
}

TEST_F(TemplateMerge, BlankLinesInsideSections)
{
    EXPECT_EQ(Merge("-u-\n", "<modify>\n\n</modify>\n<add>\n   \n</add>\n"), "-u-\n\n");
    // An empty line already present is not added a second time.
    EXPECT_EQ(Merge("-u-\n\n", "<add>\n\n</add>\n"), "-u-\n\n");
}

TEST_F(TemplateMerge, ClosingLineMayOpenTheNextSection)
{
    const std::string result = Merge("-a int=4\n-u-\n",
                                     "<modify>\n-a int=2\n</modify> <add>\n-u+\n</add><remove>\n-u-\n</remove>\n");
    EXPECT_EQ(result, "-a int=2\n-u+\n");
}

TEST_F(TemplateMerge, UnclosedSectionRunsToTheEndAndKeepsItsEntries)
{
    const std::string result = Merge("-s int=32\n", "<add>\n-ex longlong\n-s long=64\n");
    EXPECT_EQ(result, "-s int=32\n-ex longlong\n-s long=64\n");
}

TEST_F(TemplateMerge, OneLineSectionIsEmptyAndDoesNotSwallowTheRest)
{
    const std::string result = Merge("-s int=32\n", "<remove></remove>\n-s int=32\n<add>\n-u+\n</add>\n");
    EXPECT_EQ(result, "-s int=32\n-u+\n");
}

TEST_F(TemplateMerge, TemplateWithDosLineEndsGivesCleanLines)
{
    EXPECT_EQ(Merge("-s int=32\n", "<modify>\r\n-s int=16\r\n</modify>\r\n"), "-s int=16\n");
}

TEST_F(TemplateMerge, UnreadableTemplateLeavesThePersonalityAlone)
{
    Engine.KeywordDefineEntries = {"-d __far="};
    kxtest::WriteFile(PersonalityPath(), "-s int=32");
    ::testing::internal::CaptureStdout();
    Engine.IncorporateTemplatePersonality(PersonalityPath(), Dir + "/missing.tpl");
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(kxtest::ReadFile(PersonalityPath()), "-s int=32");
    EXPECT_EQ(printed, "Incorporating Template Personality\nCannot open template Personality File - " + Dir +
                           "/missing.tpl\n" + kReviewHeader);
}

TEST_F(TemplateMerge, UnreadablePersonalityIsNotRewrittenFromTheTemplate)
{
    // Permissions do not stop root; a directory in place of the file cannot be read as
    // lines by anyone.
    Engine.KeywordDefineEntries = {"-d __far="};
    const std::string personality = Dir + "/dir.p_c";
    ASSERT_EQ(mkdir(personality.c_str(), 0755), 0);
    kxtest::WriteFile(TemplatePath(), "<add>\n-u+\n</add>\n");
    ::testing::internal::CaptureStdout();
    Engine.IncorporateTemplatePersonality(personality, TemplatePath());
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Cannot re-open Personality File (read) - " + personality + "\n"), std::string::npos);
    EXPECT_EQ(printed.find("(write)"), std::string::npos);
    EXPECT_NE(printed.find(std::string(kReviewHeader) + "-d __far=\n"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(stat(personality.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST_F(TemplateMerge, LastPersonalityLineWithoutLineEndIsKept)
{
    EXPECT_EQ(Merge("-s int=32\n-u-", "<add>\n-u+\n</add>\n"), "-s int=32\n-u-\n-u+\n");
}
