// Text handling: the small transformations, the list readers, the compile command, and the
// template personality's sections (a broken section syntax never reaches the personality).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "common/CompileTemplate.h"
#include "common/DeploymentLayout.h"
#include "engine/core/ListIterators.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"
#include "engine/core/TextUtilities.h"
#include "engine/output/TemplateMerge.h"
#include "tests/support/TestSupport.h"

TEST(Text, Transformations)
{
    EXPECT_EQ(RemovePreAndTrailChars('_', "__inline__"), "inline");
    EXPECT_EQ(RemovePreAndTrailChars(' ', "   "), "");
    EXPECT_EQ(RemoveAllChar('"', "\"x\" \"y\""), "x y");
    const std::pair<const char*, const char*> parens[] = {{"f(a)(b)", "f(b)"}, {"f((a))=1", "f=1"}, {"a)b(c", "a)b"}, {"(x", "(x"}};
    for (const auto& [text, left] : parens)
        EXPECT_EQ(RemoveParen(text), left) << text;
    EXPECT_EQ(RemoveMismatchedQuotes("\"a\" \"b"), "\"a\" ");
    std::string path = "In file included from /usr/lib/gcc/../../include/./x.h:3:";
    CorrectPathnames(path);
    EXPECT_EQ(path, "In file included from /usr/include/x.h:3:");
    std::string message = "t.c:12:5: error: 'ak12' not found\n  12 | #include <ak12>";
    RemoveNumbersAndFilename(message, "ak12");
    EXPECT_EQ(message, "t.c:::error:''notfound|#include<>");
    EXPECT_EQ(SplitLines("a\r\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    // A quadratic cleaning would not finish this within the test's time.
    std::string longMessage;
    for (int i = 0; i < 400000; ++i)
        longMessage += "ak12345 x";
    RemoveNumbersAndFilename(longMessage, "ak12345");
    EXPECT_EQ(longMessage.size(), 400000u);
}

TEST(Text, ListReaders)
{
    std::istringstream words("a\nb\n\nc"), pairs("k=v=w\r\n a = b\nk=second\nlast");
    EXPECT_EQ((std::set<std::string>{line_iterator(words), line_iterator()}), (std::set<std::string>{"", "a", "b", "c"}));
    EXPECT_EQ((std::map<std::string, std::string>{map_iterator(pairs), map_iterator()}),
              (std::map<std::string, std::string>{{"k", "v=w"}, {" a ", " b"}, {"last", "last"}}));

    // The shipped lists keep the form the readers take whole (blank lines and blanks count).
    const std::string lists = std::string(KESTRIX_DATA_DIR) + "/" + kxcommon::layout::ListsDir;
    for (const auto& entry : std::filesystem::directory_iterator(lists)) {
        const std::string text = kxtest::ReadFile(entry.path().string());
        SCOPED_TRACE(entry.path().string());
        EXPECT_TRUE(!text.empty() && text.back() == '\n' && text.find_first_of('\r') == std::string::npos);
        EXPECT_TRUE(text.find("\n\n") == std::string::npos && text.find(" \n") == std::string::npos);
    }
}

TEST(Text, CompileCommands)
{
    using kxcommon::ComposeCompileCommand;
    kxcommon::CompileTemplate t{"%c %d%j %o%e %s", "cc", "-o ", "-c", "-D", {"-g"}, {"X=1"}};
    EXPECT_EQ(ComposeCompileCommand(t, "t.c", false, "Y"), "cc -g -DX=1 -DY -c  t.c");
    EXPECT_EQ(ComposeCompileCommand(t, "t.c", true, ""), "cc -g -DX=1  -o t.c.exe t.c");
    // A define flag taking its argument in parentheses: the shell must see a word; "%" in a value stays.
    t.DefFlag = "DF", t.Compiler = "/opt/100%sure/cc%d";
    EXPECT_EQ(ComposeCompileCommand(t, "t.c", false, ""), "/opt/100%sure/cc%d -g DF'(X=1)' -c  t.c");
    t.Order = "%c %s %j";
    EXPECT_STREQ(kxcommon::MissingPlaceholder(t.Order), "%o");
    EXPECT_THROW(ComposeCompileCommand(t, "t.c", false, ""), std::invalid_argument);
}

using Lines = std::vector<std::string>;

TEST(TemplateSectionsTest, EntriesPerKindAndFaultsByLine)
{
    // Problem: the start of the one problem, or "" for none.
    const struct { const char* Text; Lines Modify, Add, Remove; const char* Problem; } cases[] = {
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
    const struct { const char* Template; Lines Before, After; bool Merged; } cases[] = {
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
        MemoryReporter quiet;
        try {
            IncorporateTemplatePersonality(lines, dir + "/t", {"-d kept=", "-d gone="}, quiet);
            EXPECT_TRUE(c.Merged) << c.Template;
        } catch (const RunFailure& failure) {
            EXPECT_FALSE(c.Merged) << failure.Message;
        }
        EXPECT_EQ(lines, c.After);
    }
    EXPECT_TRUE(EntriesMatch("-d \"__asm=asm\"", "-d __asm="));
    EXPECT_FALSE(EntriesMatch("-u+", "-u-"));
    kxtest::RemoveTree(dir);
}
