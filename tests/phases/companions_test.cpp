// The files beside the personality: the copy of a substitute header tree, which must stay inside that tree and never
// write through a link, and the force-include file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "engine/phases/includes/ForceInclude.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using namespace kxtest;

namespace {

class Companions : public testing::Test {
protected:
    void SetUp() override
    {
        Root = MakeTempDir("companions");
        fs::create_directories(Root + "/dest");
        WriteFile(Root + "/subs/h.h", "#define H 1\n");
        WriteFile(Root + "/subs/sys/t.h", "#define T 1\n");
        WriteFile(Root + "/secret/key.h", "secret\n");
        fs::create_directory_symlink("sys", Root + "/subs/alias");
        fs::create_symlink("h.h", Root + "/subs/hl.h");
        fs::create_directory_symlink("../secret", Root + "/subs/out");
        fs::create_symlink(Root + "/secret/key.h", Root + "/subs/outfile");
        fs::create_symlink("nowhere", Root + "/subs/dangling");
        mkfifo((Root + "/subs/fifo").c_str(), 0600);
        fs::create_directories(Root + "/subs/new\nline");
    }
    void TearDown() override { RemoveTree(Root); }

    // Copies the tree into parent and puts it in its place as a completed run does; the messages go to Said.
    SubstituteCopy Copy(const std::string& parent)
    {
        MemoryReporter captured;
        SubstituteCopy copy = CreateAndCopyAllFiles(Root + "/subs", parent, captured);
        const SubstituteStage stage{copy};
        std::string error;
        EXPECT_TRUE(SwapSubstituteCopy(copy, error)) << error;
        Said = captured.Take();
        return copy;
    }

    std::string Root;
    std::vector<std::string> Said;
};

}  // namespace

TEST_F(Companions, OnlyWhatLiesInsideTheTreeIsCopied)
{
    const SubstituteCopy copy = Copy(Root + "/dest/");
    const std::string to = Root + "/dest/subs";
    EXPECT_EQ(copy.Directories, (std::vector<std::string>{to, to + "/alias", to + "/sys"}));
    EXPECT_EQ(ReadFile(to + "/h.h") + ReadFile(to + "/hl.h") + ReadFile(to + "/sys/t.h"), "#define H 1\n#define H 1\n#define T 1\n");
    EXPECT_EQ(fs::read_symlink(to + "/alias"), "sys") << "a link inside the tree stays a link";
    // The links out (to a folder, to a file), the dangling link, the fifo and the name with a line end: each skipped.
    EXPECT_TRUE(copy.Skipped == 5 && Said.size() == 5u);
    for (const char* gone : {"/out", "/outfile", "/dangling", "/fifo", "/new\nline"})
        EXPECT_FALSE(FileExists(to + gone)) << gone;

    // A second run finds its own copy and writes it again.
    WriteFile(Root + "/subs/h.h", "#define H 2\n");
    EXPECT_EQ(Copy(Root + "/dest/").Directories, copy.Directories);
    EXPECT_EQ(ReadFile(to + "/h.h"), "#define H 2\n");
}

TEST_F(Companions, TheCopyNeverWritesThroughALinkOrOverAFile)
{
    fs::create_directories(Root + "/elsewhere");
    fs::create_directory_symlink(Root + "/elsewhere", Root + "/dest/subs");
    EXPECT_THROW(Copy(Root + "/dest/"), RunFailure);
    EXPECT_TRUE(fs::is_empty(Root + "/elsewhere"));
    fs::remove(Root + "/dest/subs");
    WriteFile(Root + "/dest/subs", "a file\n");
    EXPECT_THROW(Copy(Root + "/dest/"), RunFailure);
    EXPECT_EQ(ReadFile(Root + "/dest/subs"), "a file\n");
}

TEST_F(Companions, ATreeBesideOrAroundThePersonalityIsNotCopiedIntoItself)
{
    // The copy's place is the tree itself: nothing changes, every directory gets its lines.
    EXPECT_EQ(Copy(Root + "/").Directories.size(), 3u);
    EXPECT_EQ(ReadFile(Root + "/subs/h.h"), "#define H 1\n");
    EXPECT_TRUE(fs::is_symlink(Root + "/subs/hl.h"));
    // The personality lies inside the tree: the copy is not copied again into itself.
    const SubstituteCopy inside = Copy(Root + "/subs/");
    EXPECT_EQ(inside.Directories.size(), 3u);
    EXPECT_TRUE(FileExists(Root + "/subs/subs/sys/t.h"));
    EXPECT_FALSE(FileExists(Root + "/subs/subs/subs"));
}

TEST(ForceIncludeTest, DeclarationsFollowEachMarkedLine)
{
    const std::set<std::string> entries{"PORTA", "PORTB"};
    EXPECT_EQ(ForceIncludeText("a\r\n// Any other items\nb", entries), "a\r\n// Any other items\nint PORTA;\nint PORTB;\nb\n");
    EXPECT_EQ(ForceIncludeText("no marker\n", entries) + ForceIncludeText("", entries), "no marker\n");
}

TEST(ForceIncludeTest, AFileThatCannotBeWrittenOrReadFailsTheRun)
{
    const std::string dir = MakeTempDir("forceinclude");
    WriteFile(dir + "/user.h", "// Any other items\n");
    MemoryReporter quiet;
    EXPECT_EQ(CopyCreateForceIncludeFile(dir + "/fi", dir + "/user.h", dir + "/user.h", {"R"}, quiet), dir + "/fi/user.h");
    EXPECT_EQ(ReadFile(dir + "/fi/user.h"), "// Any other items\nint R;\n");
    // Removed during the run: no empty copy stands in for it.
    fs::remove(dir + "/user.h");
    EXPECT_THROW(CopyCreateForceIncludeFile(dir + "/fi", dir + "/user.h", dir + "/user.h", {"R"}, quiet), RunFailure);
    // A link planted where the folder goes is not written through.
    fs::create_directories(dir + "/elsewhere");
    fs::create_directory_symlink(dir + "/elsewhere", dir + "/planted");
    EXPECT_THROW(CopyCreateForceIncludeFile(dir + "/planted", "vmt_forceinclude.h", "", {"R"}, quiet), RunFailure);
    EXPECT_TRUE(fs::is_empty(dir + "/elsewhere"));
    RemoveTree(dir);
}
