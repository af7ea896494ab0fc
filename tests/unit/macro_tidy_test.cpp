// How a value read back from the compiler becomes a define entry, and the test blocks that
// the macro and keyword probes are made of.
#include "KestrixEngine.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

KestrixEngine MakeEngine()
{
    return KestrixEngine("zanth", "ccmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
}

std::set<std::string> Recorded(const std::string& value, const std::string& name, std::string* printed = nullptr)
{
    KestrixEngine engine = MakeEngine();
    std::string text = value;
    testing::internal::CaptureStdout();
    engine.TidyAndAddDefine(text, name);
    const std::string out = testing::internal::GetCapturedStdout();
    if (printed != nullptr)
        *printed = out;
    return engine.FoundDefines;
}

using Entries = std::set<std::string>;

TEST(MacroTidyTest, PlainValuesAreTrimmedAndWrittenAsNameEqualsValue)
{
    EXPECT_EQ(Recorded("  42  ", "__VER__"), (Entries{"__VER__=42"}));
    EXPECT_EQ(Recorded("", "__EMPTY__"), (Entries{"__EMPTY__="}));
    EXPECT_EQ(Recorded("   ", "__EMPTY__"), (Entries{"__EMPTY__="}));
}

TEST(MacroTidyTest, InnerBlanksPutTheWholeEntryInQuotes)
{
    EXPECT_EQ(Recorded(" (1 + 2) ", "SUM"), (Entries{"\"SUM=(1 + 2)\""}));
    EXPECT_EQ(Recorded("long unsigned int", "__SIZE_TYPE__"), (Entries{"\"__SIZE_TYPE__=long unsigned int\""}));
}

TEST(MacroTidyTest, StringLiteralsGoThroughTheStringifyMacro)
{
    // As a program prints the stringified value, and as a compiler quotes it in a message.
    EXPECT_EQ(Recorded("\"abc\"", "S"), (Entries{"S=_VMT_STRINGIFY(abc)", "_VMT_STRINGIFY(x)=#x"}));
    EXPECT_EQ(Recorded(" \\\"12.2.0\\\" ", "__VERSION__"),
              (Entries{"__VERSION__=_VMT_STRINGIFY(12.2.0)", "_VMT_STRINGIFY(x)=#x"}));
    EXPECT_EQ(Recorded("\"12.2.0 20230101\"", "__VERSION__"),
              (Entries{"\"__VERSION__=_VMT_STRINGIFY(12.2.0 20230101)\"", "_VMT_STRINGIFY(x)=#x"}));
}

TEST(MacroTidyTest, ValueEqualToTheNameIsAFunctionLikeMacroAndGivesNoEntry)
{
    EXPECT_TRUE(Recorded(" __has_include ", "__has_include").empty());
}

TEST(MacroTidyTest, FuncIsAlwaysWrittenAsItself)
{
    EXPECT_EQ(Recorded("\"main\"", "__func__"), (Entries{"__func__=__func__"}));
}

TEST(MacroTidyTest, UnbalancedQuotesAreCutAndAQuoteWithoutPartnerIsReported)
{
    // Three quotes: the third and what follows it are dropped.
    EXPECT_EQ(Recorded("\"a\" x\"b", "Q"), (Entries{"\"Q=_VMT_STRINGIFY(a) x\"", "_VMT_STRINGIFY(x)=#x"}));
    // One escaped quote pair short: the stringify entry stays, the value is reported.
    std::string printed;
    EXPECT_EQ(Recorded("\\\"a\"", "Q", &printed), (Entries{"_VMT_STRINGIFY(x)=#x"}));
    EXPECT_EQ(printed,
              "define \"Q\" couldn't be determined from the output from compiler.\nPlease contact Velmont.\n");
}

TEST(MacroTidyTest, SameValueFoundTwiceIsKeptOnceAndDifferentValuesAreAllKept)
{
    KestrixEngine engine = MakeEngine();
    for (std::string value : {"1", " 1 ", "2"})
        engine.TidyAndAddDefine(value, "D");
    EXPECT_EQ(engine.FoundDefines, (Entries{"D=1", "D=2"}));
}

TEST(MacroTidyTest, ProbeBlocksAreThreeLines)
{
    const KestrixEngine engine = MakeEngine();
    EXPECT_EQ(engine.PrintPossibleDefines("__GNUC__"), "#ifdef __GNUC__\n#include \"ak12345\"\n#endif\n");
    EXPECT_EQ(engine.PrintKeywords("__near"), "#ifndef __near\nint __near[1];\n#endif\n");
}

// The keywords that a user's force-include template handles already.
class HandledKeywordsTest : public testing::Test {
protected:
    void SetUp() override { Dir = kxtest::MakeTempDir("fi"); }
    void TearDown() override { kxtest::RemoveTree(Dir); }

    std::set<std::string> After(const std::string& forceInclude, const std::set<std::string>& keywords)
    {
        KestrixEngine engine = MakeEngine();
        engine.ForceIncludeFile = Dir + "/fi.h";
        kxtest::WriteFile(engine.ForceIncludeFile, forceInclude);
        engine.ExtensionKeywords = keywords;
        engine.RemoveAlreadyHandledKWsInFInc();
        return engine.ExtensionKeywords;
    }
    std::string Dir;
};

TEST_F(HandledKeywordsTest, KeywordsNamedBetweenTheMarkerAndElseAreRemoved)
{
    const std::string file = "#ifdef ZANTH\n"
                             "#define __near\n"                 // before the section: no effect
                             "/* Any other items */\n"
                             "#define __far\n"
                             "#define __interrupt(x)\n"
                             "#else\n"
                             "#define __bit\n"                  // after the section: no effect
                             "/* Any other items again */\n"
                             "#define __sfr int\n";             // a section without #else runs to the end
    EXPECT_EQ(After(file, {"__near", "__far", "__interrupt", "__bit", "__sfr", "__xdata"}),
              (std::set<std::string>{"__near", "__bit", "__xdata"}));
}

TEST_F(HandledKeywordsTest, OnlyWholeNamesCount)
{
    // __int is part of __interrupt, and ab + cd spell abcd across the join of two lines:
    // neither handles the keyword.
    const std::string file = "Any other items\n#define __interrupt\nab\ncd\n#else\n";
    EXPECT_EQ(After(file, {"__int", "abcd", "ab"}), (std::set<std::string>{"__int", "abcd"}));
}

TEST_F(HandledKeywordsTest, NoOrUnreadableFileChangesNothing)
{
    KestrixEngine engine = MakeEngine();
    engine.ExtensionKeywords = {"__far"};
    engine.RemoveAlreadyHandledKWsInFInc();
    engine.ForceIncludeFile = Dir + "/missing.h";
    engine.RemoveAlreadyHandledKWsInFInc();
    EXPECT_EQ(engine.ExtensionKeywords, (std::set<std::string>{"__far"}));
}

}  // namespace
