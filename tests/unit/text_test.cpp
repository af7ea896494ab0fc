// Text handling: the small transformations, the list file readers, the compile command
// and the personality's quoting.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/core/ListIterators.h"
#include "engine/core/TextUtilities.h"
#include "engine/output/PersonalityWriter.h"
#include "engine/probe/CommandComposition.h"

TEST(Text, Transformations)
{
    EXPECT_EQ(RemovePreAndTrailChars('_', "__inline__"), "inline");
    EXPECT_EQ(RemovePreAndTrailChars(' ', "   "), "");
    EXPECT_EQ(RemoveAllChar('"', "\"x\" \"y\""), "x y");
    // The first parenthesised span goes, with what is nested inside it.
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
}

TEST(Text, CompileCommands)
{
    Options o;
    o.CompilerCommand = "cc";
    o.ExeFlag = "-o ";
    o.ObjFlag = "-c";
    o.DefFlag = "-D";
    o.OrderStr = "%c %d%j %o%e %s";
    o.ImplicitSwitches = {"-g"};
    o.ImplicitDefines = {"X=1"};
    EXPECT_EQ(GetCompleteCommandStr(o, "t.c", false, "Y"), "cc -g -DX=1 -DY -c  t.c");
    EXPECT_EQ(GetCompleteCommandStr(o, "t.c", true, ""), "cc -g -DX=1  -o t.c.exe t.c");
    // A define flag that takes its argument in parentheses: the shell must see a word.
    o.DefFlag = "DF";
    EXPECT_EQ(GetCompleteCommandStr(o, "t.c", false, ""), "cc -g DF'(X=1)' -c  t.c");
    o.OrderStr = "%c %s %j";
    EXPECT_STREQ(MissingPlaceholder(o.OrderStr), "%o");
    EXPECT_THROW(GetCompleteCommandStr(o, "t.c", false, ""), std::invalid_argument);
}

TEST(Text, PersonalityQuotingKeepsOrdinaryPathsAndEscapesQuotes)
{
    EXPECT_EQ(PersonalityWriter::Quote("C:\\dir\\x"), "\"C:\\dir\\x\"");
    EXPECT_EQ(PersonalityWriter::Quote("a\"b\\"), "\"a\\\"b\\\\\"");
    PersonalityWriter writer(false);
    writer.IncludeDir("/i");
    writer.Line(writer.QuotedDefine("A=1 2"));
    EXPECT_EQ(writer.Text(), "-si \"/i\"\n-q \"/i\"\n-sd \"A=1 2\"\n");
    EXPECT_ANY_THROW(writer.IncludeDir("/evil\n-d INJECTED=1"));
}
