// Text handling: the small transformations, the list file readers and the compile command.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "common/CompileTemplate.h"
#include "common/DeploymentLayout.h"
#include "engine/core/Options.h"
#include "engine/core/ListIterators.h"
#include "engine/core/TextUtilities.h"
#include "tests/support/TestSupport.h"

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

    // The shipped lists keep the form the readers take whole: a last line without its newline
    // is lost, a blank line is read as the empty word, and blanks belong to keys and values.
    const std::string lists = std::string(KESTRIX_DATA_DIR) + "/" + kxcommon::layout::ListsDir;
    for (const auto& entry : std::filesystem::directory_iterator(lists)) {
        const std::string text = kxtest::ReadFile(entry.path().string());
        SCOPED_TRACE(entry.path().string());
        EXPECT_TRUE(!text.empty() && text.back() == '\n');
        EXPECT_EQ(text.find("\n\n"), std::string::npos);
        EXPECT_EQ(text.find(" \n"), std::string::npos);
        EXPECT_EQ(text.find('\r'), std::string::npos);
    }
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
    EXPECT_EQ(kxcommon::ComposeCompileCommand(options.Template(), "t.c", false, "Y"), "cc -g -DX=1 -DY -c  t.c");
    EXPECT_EQ(kxcommon::ComposeCompileCommand(options.Template(), "t.c", true, ""), "cc -g -DX=1  -o t.c.exe t.c");
    // A define flag that takes its argument in parentheses: the shell must see a word.
    options.DefFlag = "DF";
    EXPECT_EQ(kxcommon::ComposeCompileCommand(options.Template(), "t.c", false, ""), "cc -g DF'(X=1)' -c  t.c");
    options.OrderStr = "%c %s %j";
    EXPECT_STREQ(kxcommon::MissingPlaceholder(options.OrderStr), "%o");
    EXPECT_THROW(kxcommon::ComposeCompileCommand(options.Template(), "t.c", false, ""), std::invalid_argument);
}
