#include <gtest/gtest.h>

#include "KestrixEngine.h"

namespace {
const KestrixEngine& Engine()
{
    static const KestrixEngine engine("zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    return engine;
}
}  // namespace

TEST(TextUtilities, RemovePreAndTrailChars)
{
    EXPECT_EQ(Engine().RemovePreAndTrailChars(' ', "  a b  "), "a b");
    EXPECT_EQ(Engine().RemovePreAndTrailChars(' ', "    "), "");
    EXPECT_EQ(Engine().RemovePreAndTrailChars(' ', ""), "");
    EXPECT_EQ(Engine().RemovePreAndTrailChars('_', "__inline__"), "inline");
}

TEST(TextUtilities, RemoveAllChar)
{
    EXPECT_EQ(Engine().RemoveAllChar(' ', " a b c "), "abc");
    EXPECT_EQ(Engine().RemoveAllChar('"', "\"x\""), "x");
}

TEST(TextUtilities, RemoveParen)
{
    EXPECT_EQ(Engine().RemoveParen("f(a)(b)"), "f(b)");
    EXPECT_EQ(Engine().RemoveParen("f((a))"), "f)");
    EXPECT_EQ(Engine().RemoveParen("a)b(c"), "a)b");
    EXPECT_EQ(Engine().RemoveParen("abc"), "abc");
    EXPECT_EQ(Engine().RemoveParen("(x"), "(x");
}

TEST(TextUtilities, RemoveMismatchedQuotes)
{
    EXPECT_EQ(Engine().RemoveMismatchedQuotes("\"a\" \"b"), "\"a\" ");
    EXPECT_EQ(Engine().RemoveMismatchedQuotes("\"a\""), "\"a\"");
    EXPECT_EQ(Engine().RemoveMismatchedQuotes("\""), "");
}

TEST(TextUtilities, CorrectPathnames)
{
    auto corrected = [](std::string path) {
        Engine().CorrectPathnames(path);
        return path;
    };
    EXPECT_EQ(corrected("/usr/lib/../include"), "/usr/include");
    EXPECT_EQ(corrected("/usr/./include"), "/usr/include");
    EXPECT_EQ(corrected("/a/b/.."), "/a/b/..");
    EXPECT_EQ(corrected("a/../b"), "/b");
    EXPECT_EQ(corrected("/../x"), "/x");
    EXPECT_EQ(corrected("In file included from /usr/lib/gcc/../../include/x.h:3:"),
              "In file included from /usr/include/x.h:3:");
    EXPECT_EQ(corrected(""), "");
}

TEST(TextUtilities, RemoveNumbersAndFilename)
{
    std::string message = "t.c:12: error 42 in t.c";
    Engine().RemoveNumbersAndFilename(message, "t.c");
    EXPECT_EQ(message, "::errorin");

    // The search goes on where the deleted text began, so a name that the deletion forms
    // from text before that point stays.
    std::string overlapping = "aabb";
    Engine().RemoveNumbersAndFilename(overlapping, "ab");
    EXPECT_EQ(overlapping, "ab");

    std::string high = "\xc3\xa9 1\t";
    Engine().RemoveNumbersAndFilename(high, "");
    EXPECT_EQ(high, "\xc3\xa9");
}
