// The header tree walk on trees with the traps real installations hold: symbolic-link
// loops, named pipes, dangling links, binary files.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "KestrixEngine.h"
#include "TestSupport.h"

using namespace kxtest;
namespace fs = std::filesystem;

namespace {

KestrixEngine MakeEngine()
{
    return KestrixEngine("zanth", "ccmp", "gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
}

class HeaderWalk : public testing::Test {
protected:
    void SetUp() override { root = MakeTempDir("walk"); }
    void TearDown() override { RemoveTree(root); }
    std::string P(const std::string& relative) const { return root + "/" + relative; }
    std::string root;
};

}  // namespace

TEST_F(HeaderWalk, FileSetsOfEveryDirectory)
{
    WriteFile(P("D/a.h"), "int alpha;\n");
    WriteFile(P("D/sub/b.h"), "int beta;\n");
    WriteFile(P("D/sub/deeper/c.h"), "int gamma;\n");
    fs::create_directories(P("D/empty"));
    WriteFile(P("D/.hidden/h.h"), "int hidden_one;\n");

    KestrixEngine engine = MakeEngine();
    EXPECT_TRUE(engine.ScanDirectory(P("D")));
    EXPECT_EQ(engine.DirFiles.at(P("D")),
              (std::set<std::string>{".hidden/h.h", "a.h", "sub/b.h", "sub/deeper/c.h"}));
    EXPECT_EQ(engine.DirFiles.at(P("D/sub")), (std::set<std::string>{"b.h", "deeper/c.h"}));
    EXPECT_TRUE(engine.DirFiles.at(P("D/empty")).empty());
    EXPECT_EQ(engine.DirFiles.size(), 5u);
    EXPECT_EQ(engine.PossibleDefines,
              (std::set<std::string>{"alpha", "beta", "gamma", "hidden_one", "int"}));
    EXPECT_EQ(engine.PossibleKeywords, engine.PossibleDefines);
}

TEST_F(HeaderWalk, MissingDirectoryRecordsNothing)
{
    KestrixEngine engine = MakeEngine();
    EXPECT_FALSE(engine.ScanDirectory(P("nothing-here")));
    EXPECT_TRUE(engine.DirFiles.empty());
    EXPECT_TRUE(engine.PossibleDefines.empty());
}

TEST_F(HeaderWalk, LoopsPipesDanglingLinksAndBinaryFiles)
{
    using namespace std::string_literals;
    WriteFile(P("T/top.h"), "int top_level;\n");
    WriteFile(P("T/sub/inner.h"), "int inner_name;\n");
    fs::create_directory_symlink("..", P("T/sub/back"));          // a loop to T
    fs::create_directory_symlink(P("T/sub"), P("T/again"));      // the same subdirectory, no loop
    fs::create_symlink(P("T/gone.h"), P("T/dangling.h"));
    ASSERT_EQ(mkfifo(P("T/pipe").c_str(), 0600), 0);
    WriteFile(P("T/locked.h"), "int locked_name;\n");
    chmod(P("T/locked.h").c_str(), 0);
    WriteFile(P("T/lib.a"), "\x7f" "ELF\0\0\x01symbol_one\0junk\x02" "symbol_two\0tail_not_taken"s);

    KestrixEngine engine = MakeEngine();
    ASSERT_TRUE(engine.ScanDirectory(P("T")));

    const std::set<std::string>& files = engine.DirFiles.at(P("T"));
    for (const char* f : {"top.h", "sub/inner.h", "again/inner.h", "dangling.h", "pipe", "locked.h", "lib.a"})
        EXPECT_EQ(files.count(f), 1u) << f;
    // The loop is recorded as an empty directory and not entered again.
    EXPECT_TRUE(engine.DirFiles.at(P("T/sub/back")).empty());
    EXPECT_EQ(files.count("sub/back/top.h"), 0u);

    for (const char* id : {"top_level", "inner_name", "symbol_one", "symbol_two", "ELF"})
        EXPECT_EQ(engine.PossibleDefines.count(id), 1u) << id;
    EXPECT_EQ(engine.PossibleDefines.count("tail_not_taken"), 0u);
    EXPECT_EQ(engine.PossibleDefines.count("junk"), 0u);  // "junk" is followed by 0x02, not NUL
    if (geteuid() != 0) {
        EXPECT_EQ(engine.PossibleDefines.count("locked_name"), 0u);
    }
}

TEST_F(HeaderWalk, NulAfterTheFirstKilobyteLeavesAFileText)
{
    using namespace std::string_literals;
    WriteFile(P("N/late.h"), std::string(1024, ' ') + "late_text_id\0"s + " more_text");
    WriteFile(P("N/early.h"), "\0 "s + std::string(10, ' ') + "x_id\0 after_nul"s);
    EXPECT_TRUE(isTextFile(P("N/late.h")));
    EXPECT_FALSE(isTextFile(P("N/early.h")));

    KestrixEngine engine = MakeEngine();
    engine.ScanDirectory(P("N"));
    // Read as text, the NUL makes its word invalid but the next word counts.
    EXPECT_EQ(engine.PossibleDefines.count("more_text"), 1u);
    EXPECT_EQ(engine.PossibleDefines.count("late_text_id"), 0u);
    // Read as binary, only runs that end in a NUL count.
    EXPECT_EQ(engine.PossibleDefines.count("x_id"), 1u);
    EXPECT_EQ(engine.PossibleDefines.count("after_nul"), 0u);
}

TEST_F(HeaderWalk, InnerSearchDirectoryKeepsItsFirstFileSet)
{
    WriteFile(P("O/x.h"), "int outer_x;\n");
    WriteFile(P("O/in/y.h"), "int inner_y;\n");
    KestrixEngine engine = MakeEngine();
    engine.ScanDirectory(P("O"));
    const auto first = engine.DirFiles;
    const auto ids = engine.PossibleDefines;
    engine.ScanDirectory(P("O/in"));
    EXPECT_EQ(engine.DirFiles, first);
    EXPECT_EQ(engine.PossibleDefines, ids);
}
