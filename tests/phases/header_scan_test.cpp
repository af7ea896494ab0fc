// The walk over header trees that hold links, special and huge files: every real directory once, under the name the
// user gave, and nothing that blocks or fills memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/phases/includes/HeaderScan.h"
#include "engine/core/Reporter.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

class HeaderWalk : public testing::Test {
protected:
    void SetUp() override { Root = MakeTempDir("walk"); }
    void TearDown() override { RemoveTree(Root); }

    // The trees and the messages; a walk that blocks on a file ends the program (SIGALRM) instead of hanging it.
    std::pair<HeaderTrees, std::vector<std::string>> Walk(const std::vector<std::string>& directories,
                                                          std::uint64_t limit = kHarvestLimit, unsigned threads = 1)
    {
        MemoryReporter said;
        HeaderScanner scanner(Ignored, said, limit, threads);
        alarm(20);
        scanner.ScanSearchDirectories(directories);
        alarm(0);
        return {scanner.Take(), said.Take()};
    }

    std::string Root;
    std::set<std::string> Ignored{"ignored_name"};
};

}  // namespace

TEST_F(HeaderWalk, EveryRealDirectoryOnceUnderTheNameGivenOrFirstMet)
{
    WriteFile(Root + "/inc/real/a.h", "int in_real;\n");
    fs::create_directory_symlink("real", Root + "/inc/alias");  // "alias" sorts before "real"
    fs::create_directory_symlink("..", Root + "/inc/real/up");  // a cycle
    WriteFile(Root + "/other/b.h", "int in_other;\n");
    fs::create_directory_symlink(Root + "/other", Root + "/inc/to_other");

    const std::pair<std::vector<std::string>, std::set<std::string>> cases[] = {
        {{Root + "/inc"}, {Root + "/inc", Root + "/inc/alias", Root + "/inc/to_other"}},
        {{Root + "/inc", Root + "/other", Root + "/inc/real"},
         {Root + "/inc", Root + "/inc/real", Root + "/other"}},
        {{Root + "/other", Root + "/inc/to_other"}, {Root + "/other"}},
    };
    for (const auto& [given, expected] : cases) {
        std::set<std::string> directories;
        const HeaderTrees trees = Walk(given).first;
        for (const auto& [directory, files] : trees.DirFiles)
            directories.insert(directory);
        EXPECT_EQ(directories, expected) << given.size();
    }
    const HeaderTrees all = Walk({Root + "/inc"}).first;
    EXPECT_EQ(all.DirFiles.at(Root + "/inc"), (std::set<std::string>{"alias/a.h", "to_other/b.h"}));
    EXPECT_EQ(all.Identifiers, (std::set<std::string>{"in_other", "in_real", "int"}));
}

TEST_F(HeaderWalk, ADirectoryReachedByManyLinksIsWalkedOnce)
{
    // Each level links twice to the next: without one visited set for the walk, the last is reached 2^40 times.
    const int levels = 40;
    for (int level = 0; level < levels; ++level) {
        const std::string dir = Root + "/l" + std::to_string(level);
        WriteFile(dir + "/h" + std::to_string(level) + ".h", "int level_" + std::to_string(level) + ";\n");
        if (level + 1 < levels)
            for (const char* link : {"/a", "/b"})
                fs::create_directory_symlink(Root + "/l" + std::to_string(level + 1), dir + link);
    }
    const HeaderTrees trees = Walk({Root + "/l0"}).first;
    EXPECT_EQ(trees.DirFiles.size(), static_cast<std::size_t>(levels));
    EXPECT_EQ(trees.DirFiles.at(Root + "/l0").size(), static_cast<std::size_t>(levels));
    EXPECT_EQ(trees.Identifiers.count("level_39"), 1u);
}

TEST_F(HeaderWalk, OnlyRegularFilesAreListedAndRead)
{
    WriteFile(Root + "/inc/plain.h", "int plain_name;\n");
    WriteFile(Root + "/inc/empty.h", "");
    ASSERT_EQ(mkfifo((Root + "/inc/pipe.h").c_str(), 0600), 0);
    fs::create_symlink(Root + "/inc/pipe.h", Root + "/inc/to_pipe.h");
    fs::create_symlink(Root + "/missing.h", Root + "/inc/dangling.h");
    // A file of /proc that blocks when read, and gives away what it holds.
    if (FileExists("/proc/kmsg"))
        fs::create_symlink("/proc/kmsg", Root + "/inc/kmsg.h");
    fs::create_symlink("/dev/zero", Root + "/inc/zero.h");

    const HeaderTrees trees = Walk({Root + "/inc"}).first;
    EXPECT_EQ(trees.DirFiles.at(Root + "/inc"), std::set<std::string>{"plain.h"});
    EXPECT_EQ(trees.Identifiers, (std::set<std::string>{"int", "plain_name"}));
}

TEST_F(HeaderWalk, FilesLargerThanTheLimitAreListedButNotHarvested)
{
    WriteFile(Root + "/inc/small.h", "int small_name;\n");
    WriteFile(Root + "/inc/big.h", "int big_name;\n" + std::string(2000, ' '));
    // Sparse: 64 MiB and one byte that take no room on the disk.
    WriteFile(Root + "/inc/huge.h", "int huge_name;\n");
    fs::resize_file(Root + "/inc/huge.h", kHarvestLimit + 1);
    // Enough files for several threads to share, with names each spells once and names they all spell.
    std::set<std::string> files{"big.h", "huge.h", "small.h"}, many;
    for (int i = 0; i < 300; ++i) {
        WriteFile(Root + "/inc/many" + std::to_string(i) + ".h", "int many_" + std::to_string(i) + ", ignored_name;\n");
        files.insert("many" + std::to_string(i) + ".h");
        many.insert("many_" + std::to_string(i));
    }

    const std::tuple<std::uint64_t, unsigned, std::set<std::string>, std::vector<std::string>> cases[] = {
        {1000, 1, {"int", "small_name"}, {"big.h", "huge.h"}},
        {kHarvestLimit, 1, {"big_name", "int", "small_name"}, {"huge.h"}},
        {kHarvestLimit, 3, {"big_name", "int", "small_name"}, {"huge.h"}},
    };
    for (auto [limit, threads, identifiers, skipped] : cases) {
        const auto [trees, lines] = Walk({Root + "/inc"}, limit, threads);
        identifiers.insert(many.begin(), many.end());
        EXPECT_EQ(trees.DirFiles.at(Root + "/inc"), files);
        EXPECT_EQ(trees.Identifiers, identifiers) << threads << " threads";
        ASSERT_EQ(lines.size(), skipped.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_NE(lines[i].find("\"" + Root + "/inc/" + skipped[i] + "\""), std::string::npos) << lines[i];
    }
}
