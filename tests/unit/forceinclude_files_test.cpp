#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "KestrixEngine.h"
#include "TestSupport.h"

namespace {

class HeaderFiles : public ::testing::Test {
protected:
    void SetUp() override { Dir = kxtest::MakeTempDir("finc"); }
    void TearDown() override { kxtest::RemoveTree(Dir); }

    std::string Dir;
    std::ostringstream Personality;
    KestrixEngine Engine{"zanth", "cmp", "cc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s"};
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

TEST_F(HeaderFiles, GeneratedForceIncludeDeclaresEntriesInByteOrder)
{
    Engine.ForceIncludeEntries = {"PORTB", "PORTA", "DDRA", "_x"};
    const std::string directory = Dir + "/vmtforceinclude";
    Engine.CopyCreateForceIncludeFile(directory, "vmt_forceinclude.h", Personality);
    EXPECT_EQ(kxtest::ReadFile(directory + "/vmt_forceinclude.h"),
              "#ifndef VMT_FORCECINCLUDE_H\n"
              "#define VMT_FORCECINCLUDE_H\n"
              "/*file containing declarations for identifiers deemed to be direct access registers*/\n"
              "int DDRA;\nint PORTA;\nint PORTB;\nint _x;\n"
              "#endif /*VMT_FORCECINCLUDE_H*/\n");
    EXPECT_EQ(Personality.str(), "-q " + Quoted(directory) + "\n-fi " + Quoted(directory + "/vmt_forceinclude.h") + "\n");

    // A second run finds the directory in place and writes the same.
    std::ostringstream again;
    Engine.CopyCreateForceIncludeFile(directory, "vmt_forceinclude.h", again);
    EXPECT_EQ(again.str(), Personality.str());
}

TEST_F(HeaderFiles, UserForceIncludeGetsEntriesAfterEveryAnyOtherItemsLine)
{
    const std::string user = Dir + "/user/regs.h";
    kxtest::WriteFile(user, "#ifdef X\n/* Any other items */\n#else\n// Any other items here\n#endif");
    Engine.ForceIncludeFile = user;
    Engine.ForceIncludeEntries = {"PORTB", "PORTA"};
    const std::string directory = Dir + "/vmtforceinclude";
    Engine.CopyCreateForceIncludeFile(directory, user, Personality);
    EXPECT_EQ(kxtest::ReadFile(directory + "/regs.h"),
              "#ifdef X\n/* Any other items */\nint PORTA;\nint PORTB;\n#else\n"
              "// Any other items here\nint PORTA;\nint PORTB;\n#endif\n");
    EXPECT_EQ(Personality.str(), "-q " + Quoted(directory) + "\n-fi " + Quoted(directory + "/regs.h") + "\n");
}

TEST_F(HeaderFiles, UserForceIncludeWithoutMarkerIsCopiedUnchanged)
{
    const std::string user = Dir + "/regs.h";
    kxtest::WriteFile(user, "#define A 1\n\nint b;\n");
    Engine.ForceIncludeFile = user;
    Engine.ForceIncludeEntries = {"PORTA"};
    Engine.CopyCreateForceIncludeFile(Dir + "/fi", user, Personality);
    EXPECT_EQ(kxtest::ReadFile(Dir + "/fi/regs.h"), "#define A 1\n\nint b;\n");
}

TEST_F(HeaderFiles, UserForceIncludeThatIsItsOwnDestinationSurvives)
{
    const std::string directory = Dir + "/vmtforceinclude";
    const std::string user = directory + "/regs.h";
    kxtest::WriteFile(user, "// Any other items\n#endif\n");
    Engine.ForceIncludeFile = user;
    Engine.ForceIncludeEntries = {"PORTA"};
    Engine.CopyCreateForceIncludeFile(directory, user, Personality);
    EXPECT_EQ(kxtest::ReadFile(user), "// Any other items\nint PORTA;\n#endif\n");
}

TEST_F(HeaderFiles, UnreadableUserForceIncludeStillGivesItsLines)
{
    Engine.ForceIncludeFile = Dir + "/missing.h";
    Engine.CopyCreateForceIncludeFile(Dir + "/fi", Engine.ForceIncludeFile, Personality);
    EXPECT_TRUE(kxtest::FileExists(Dir + "/fi/missing.h"));
    EXPECT_EQ(kxtest::ReadFile(Dir + "/fi/missing.h"), "");
    EXPECT_EQ(Personality.str(), "-q " + Quoted(Dir + "/fi") + "\n-fi " + Quoted(Dir + "/fi/missing.h") + "\n");
}

TEST_F(HeaderFiles, DirectoryThatCannotBeMadeGivesOneMessageAndNoLines)
{
    kxtest::WriteFile(Dir + "/plainfile", "x");
    Engine.ForceIncludeEntries = {"PORTA"};
    ::testing::internal::CaptureStdout();
    Engine.CopyCreateForceIncludeFile(Dir + "/plainfile/vmtforceinclude", "vmt_forceinclude.h", Personality);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Couldn't create directory to write a force include file too.\n");
    EXPECT_EQ(Personality.str(), "");
}

TEST_F(HeaderFiles, SubstituteTreeIsCopiedWithLinesForEveryDirectory)
{
    const std::string source = Dir + "/home/subs";
    kxtest::WriteFile(source + "/stdio.h", "/* substitute */\n");
    kxtest::WriteFile(source + "/sys/types.h", std::string("bin\0ary", 7));
    kxtest::WriteFile(source + "/sys/deep/x.h", "deep\n");
    kxtest::WriteFile(source + "/arch/y.h", "y\n");
    const std::string parent = Dir + "/out/";
    ASSERT_EQ(mkdir((Dir + "/out").c_str(), 0775), 0);

    Engine.CreateAndCopyAllFiles(source, parent, Personality);

    EXPECT_EQ(kxtest::ReadFile(parent + "subs/stdio.h"), "/* substitute */\n");
    EXPECT_EQ(kxtest::ReadFile(parent + "subs/sys/types.h"), std::string("bin\0ary", 7));
    EXPECT_EQ(kxtest::ReadFile(parent + "subs/sys/deep/x.h"), "deep\n");
    EXPECT_EQ(kxtest::ReadFile(parent + "subs/arch/y.h"), "y\n");

    // Each directory's pair of lines, "-i " then "-q ", comes before those of its
    // subdirectories; siblings follow the listing order, which the test does not fix.
    const std::vector<std::string> lines = kxtest::Lines(Personality.str());
    ASSERT_EQ(lines.size(), 8u);
    auto pairAt = [&](const std::string& target) -> long {
        for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
            if (lines[i] == "-i " + Quoted(target) && lines[i + 1] == "-q " + Quoted(target))
                return static_cast<long>(i);
        }
        return -1;
    };
    EXPECT_EQ(pairAt(parent + "subs"), 0);
    EXPECT_GT(pairAt(parent + "subs/sys"), 0);
    EXPECT_GT(pairAt(parent + "subs/arch"), 0);
    EXPECT_GT(pairAt(parent + "subs/sys/deep"), pairAt(parent + "subs/sys"));

    // Running again overwrites the files and writes the same lines.
    kxtest::WriteFile(source + "/stdio.h", "/* changed */\n");
    std::ostringstream again;
    Engine.CreateAndCopyAllFiles(source, parent, again);
    EXPECT_EQ(kxtest::ReadFile(parent + "subs/stdio.h"), "/* changed */\n");
    EXPECT_EQ(again.str(), Personality.str());
}

TEST_F(HeaderFiles, SubstitutePathEndingInSlashCopiesIntoTheParentItself)
{
    kxtest::WriteFile(Dir + "/subs/a.h", "a\n");
    ASSERT_EQ(mkdir((Dir + "/out").c_str(), 0775), 0);
    Engine.CreateAndCopyAllFiles(Dir + "/subs/", Dir + "/out/", Personality);
    EXPECT_EQ(kxtest::ReadFile(Dir + "/out/a.h"), "a\n");
    EXPECT_EQ(Personality.str(), "-i " + Quoted(Dir + "/out/") + "\n-q " + Quoted(Dir + "/out/") + "\n");
}

TEST_F(HeaderFiles, SubstituteTreeWithALinkLoopIsCopiedOnce)
{
    kxtest::WriteFile(Dir + "/subs/sys/a.h", "a\n");
    ASSERT_EQ(symlink("..", (Dir + "/subs/sys/up").c_str()), 0);
    ASSERT_EQ(mkdir((Dir + "/out").c_str(), 0775), 0);
    Engine.CreateAndCopyAllFiles(Dir + "/subs", Dir + "/out/", Personality);
    EXPECT_EQ(kxtest::ReadFile(Dir + "/out/subs/sys/a.h"), "a\n");
    EXPECT_EQ(kxtest::Lines(Personality.str()).size(), 4u);
}

TEST_F(HeaderFiles, SubstituteCopyInsideItsOwnSourceStops)
{
    // The personality directory lies inside the substitute tree: the copy must not be
    // copied into itself again.
    kxtest::WriteFile(Dir + "/subs/a.h", "a\n");
    Engine.CreateAndCopyAllFiles(Dir + "/subs", Dir + "/subs/", Personality);
    EXPECT_EQ(kxtest::ReadFile(Dir + "/subs/subs/a.h"), "a\n");
    EXPECT_FALSE(kxtest::FileExists(Dir + "/subs/subs/subs"));
}

TEST_F(HeaderFiles, SubstituteSourceThatIsNoDirectoryGivesItsLinesOnly)
{
    ASSERT_EQ(mkdir((Dir + "/out").c_str(), 0775), 0);
    Engine.CreateAndCopyAllFiles(Dir + "/nothing", Dir + "/out/", Personality);
    EXPECT_EQ(Personality.str(), "-i " + Quoted(Dir + "/out/nothing") + "\n-q " + Quoted(Dir + "/out/nothing") + "\n");
}
