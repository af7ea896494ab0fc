#include <gtest/gtest.h>

#include "KestrixEngine.h"

namespace {

std::set<std::string> Harvest(const std::string& text, bool binary, std::set<std::string> ignore = {})
{
    KestrixEngine engine("zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    engine.IgnoreKeywords = std::move(ignore);
    if (binary)
        engine.HarvestBinary(text);
    else
        engine.ParseBuffer(text.data(), text.size());
    EXPECT_EQ(engine.PossibleDefines, engine.PossibleKeywords);
    return engine.PossibleDefines;
}

std::set<std::string> ParseWord(const std::string& word)
{
    KestrixEngine engine("zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    engine.Parse(word);
    return engine.PossibleDefines;
}

}  // namespace

TEST(HeaderParse, WordsSplitAtDelimiters)
{
    EXPECT_EQ(Harvest("#define __GNUC__ 2\n", false), (std::set<std::string>{"define", "__GNUC__"}));
    EXPECT_EQ(Harvest("extern int __near*(foo)(void);", false),
              (std::set<std::string>{"extern", "int", "__near", "foo", "void"}));
    EXPECT_EQ(ParseWord("x=y+1;"), (std::set<std::string>{"x", "y"}));
    EXPECT_EQ(ParseWord("_a1"), (std::set<std::string>{"_a1"}));
    EXPECT_TRUE(ParseWord("1a").empty());
    EXPECT_TRUE(ParseWord("0x1F").empty());
}

TEST(HeaderParse, WordWithNonAsciiByteIsDroppedWhole)
{
    EXPECT_EQ(Harvest("good caf\xc3\xa9_name bad\x01word ok", false), (std::set<std::string>{"good", "ok"}));
    EXPECT_TRUE(ParseWord("a\x7f" "b").empty());
}

TEST(HeaderParse, IgnoredWordsAreNeverRecorded)
{
    EXPECT_EQ(Harvest("int foo; int bar;", false, {"int", "bar"}), (std::set<std::string>{"foo"}));
}

TEST(HeaderParse, BinaryRunsBeforeNul)
{
    using namespace std::string_literals;
    EXPECT_EQ(Harvest("foo_bar\0"s, true), (std::set<std::string>{"foo_bar"}));
    EXPECT_EQ(Harvest("\x01" "abc\0"s, true), (std::set<std::string>{"abc"}));
    // A run not followed by a NUL is not taken.
    EXPECT_EQ(Harvest("one\0\x02two"s, true), (std::set<std::string>{"one"}));
    EXPECT_EQ(Harvest("\0\0x y\0"s, true), (std::set<std::string>{"x", "y"}));

    // Only the last 127 bytes of a longer run count; an identifier cut at the front is
    // recorded in its cut form.
    const std::string longRun = std::string(190, 'a') + " tail_id" + '\0';
    const std::set<std::string> found = Harvest(longRun, true);
    EXPECT_EQ(found, (std::set<std::string>{std::string(127 - 8, 'a'), "tail_id"}));
}
