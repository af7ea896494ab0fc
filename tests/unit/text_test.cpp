// Text handling: the small transformations, the list file readers, the compile command
// and the personality's quoting.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/probe/CommandComposition.h"
#include "engine/core/ListIterators.h"
#include "engine/output/PersonalityWriter.h"
#include "engine/core/TextUtilities.h"

TEST(Text, Transformations)
{
    EXPECT_EQ(RemovePreAndTrailChars('_', "__inline__"), "inline");
    EXPECT_EQ(RemovePreAndTrailChars(' ', "   "), "");
    EXPECT_EQ(RemoveAllChar('"', "\"x\" \"y\""), "x y");
    // The first parenthesised span goes, with what is nested inside it.
    EXPECT_EQ(RemoveParen("f(a)(b)"), "f(b)");
    EXPECT_EQ(RemoveParen("f((a))=1"), "f=1");
    EXPECT_EQ(RemoveParen("a)b(c"), "a)b");
    EXPECT_EQ(RemoveParen("(x"), "(x");
    EXPECT_EQ(RemoveMismatchedQuotes("\"a\" \"b"), "\"a\" ");
    std::string path = "In file included from /usr/lib/gcc/../../include/./x.h:3:";
    CorrectPathnames(path);
    EXPECT_EQ(path, "In file included from /usr/include/x.h:3:");
    std::string message = "t.c:12:5: error: 'ak12' not found\n  12 | #include <ak12>";
    RemoveNumbersAndFilename(message, "ak12");
    EXPECT_EQ(message, "t.c:::error:''notfound|#include<>");
    EXPECT_EQ(SplitLines("a\r\n\nb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(Text, CleaningALongMessageTakesLinearTime)
{
    std::string message;
    for (int i = 0; i < 400000; ++i)
        message += "ak12345 x";
    RemoveNumbersAndFilename(message, "ak12345");
    EXPECT_EQ(message.size(), 400000u);
}

TEST(Text, ListReaders)
{
    std::istringstream words("a\nb\n\nc");
    const std::set<std::string> set{line_iterator(words), line_iterator()};
    EXPECT_EQ(set, (std::set<std::string>{"", "a", "b", "c"}));
    std::istringstream pairs("k=v=w\r\n a = b\nk=second\nlast");
    const std::map<std::string, std::string> map{map_iterator(pairs), map_iterator()};
    EXPECT_EQ(map, (std::map<std::string, std::string>{{"k", "v=w"}, {" a ", " b"}, {"last", "last"}}));
}

TEST(Text, CompileCommands)
{
    Options options;
    options.CompilerCommand = "cc";
    options.ExeFlag = "-o ";
    options.ObjFlag = "-c";
    options.DefFlag = "-D";
    options.OrderStr = "%c %d%j %o%e %s";
    options.ImplicitSwitches = {"-g"};
    options.ImplicitDefines = {"X=1"};
    EXPECT_EQ(GetCompleteCommandStr(options, "t.c", false, "Y"), "cc -g -DX=1 -DY -c  t.c");
    EXPECT_EQ(GetCompleteCommandStr(options, "t.c", true, ""), "cc -g -DX=1  -o t.c.exe t.c");
    // A define flag that takes its argument in parentheses: the shell must see a word.
    options.DefFlag = "DF";
    EXPECT_EQ(GetCompleteCommandStr(options, "t.c", false, ""), "cc -g DF'(X=1)' -c  t.c");
    // A placeholder inside a value is the value's own text.
    options.CompilerCommand = "/opt/100%sure/cc%d";
    EXPECT_EQ(GetCompleteCommandStr(options, "t.c", false, ""), "/opt/100%sure/cc%d -g DF'(X=1)' -c  t.c");
    options.OrderStr = "%c %s %j";
    EXPECT_STREQ(MissingPlaceholder(options.OrderStr), "%o");
    EXPECT_THROW(GetCompleteCommandStr(options, "t.c", false, ""), std::invalid_argument);
}

TEST(Text, PersonalityQuotingKeepsOrdinaryPathsAndEscapesQuotes)
{
    EXPECT_EQ(PersonalityWriter::Quote("/usr/include"), "\"/usr/include\"");
    EXPECT_EQ(PersonalityWriter::Quote("C:\\dir\\x"), "\"C:\\dir\\x\"");
    EXPECT_EQ(PersonalityWriter::Quote("a\"b\\"), "\"a\\\"b\\\\\"");
    PersonalityWriter writer(false);
    writer.IncludeDir("/i");
    writer.Line(writer.QuotedDefine("A=1 2"));
    EXPECT_EQ(writer.Text(), "-si \"/i\"\n-q \"/i\"\n-sd \"A=1 2\"\n");
    EXPECT_ANY_THROW(writer.IncludeDir("/evil\n-d INJECTED=1"));
}
