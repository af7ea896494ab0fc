// Include directory discovery against a compiler that searches a known list of directories.
#include <gtest/gtest.h>

#include "FakeProbe.h"
#include "IncludePaths.h"
#include "Reporter.h"

namespace {

using namespace kxtest;

// The header trees as the walk would find them; the compiler searches /b before /a, and
// neither /c nor /d.
HeaderTrees Trees()
{
    HeaderTrees trees;
    trees.DirFiles = {{"/a", {"a_only.h", "common.h"}},
                      {"/b", {"b_only.h", "common.h", "sys/b.h"}},
                      {"/c", {"c_only.h"}},
                      {"/d", {"common.h"}}};
    return trees;
}

CompileResult SearchingCompiler(const CompileJob& job)
{
    static const std::vector<std::string> searched{"/b", "/a"};
    const HeaderTrees trees = Trees();
    const std::size_t open = job.Source.find('<');
    const std::string header = job.Source.substr(open + 1, job.Source.find('>') - open - 1);
    for (const std::string& dir : searched) {
        if (trees.DirFiles.at(dir).count(header) == 0)
            continue;
        // Found: the compiler complains about the source's next line, or inside the header.
        if (job.Source.rfind("int x[", 0) == 0)
            return Reject("In file included from inctest.c:2:\n" + dir + "/./" + header + ":1:1: error: expected expression\n");
        return Reject("inctest.c:2:1: error: unknown type name 'this'\n");
    }
    return Reject("inctest.c:1:10: fatal error: " + header + ": No such file or directory\n");
}

}  // namespace

TEST(IncludePaths, TheSearchedDirectoriesInTheCompilersOrder)
{
    for (unsigned jobs : {1u, 3u}) {
        FakeRun run(SearchingCompiler, {}, true, FakeOptions(true, jobs));
        CapturedLines quiet;
        EXPECT_EQ(GetIncludes(run.Context, Trees()), (std::vector<std::string>{"/b", "/a"}));
    }
    FakeRun none([](const CompileJob&) { return Reject("inctest.c:1:10: fatal error: x: No such file\n"); });
    CapturedLines said;
    EXPECT_TRUE(GetIncludes(none.Context, Trees()).empty());
    EXPECT_EQ(said.Take().at(1), "Couldn't determine compiler include paths.");
}
