// The identifier length test against compilers that tell names apart by their first N characters only.
#include <gtest/gtest.h>

#include <regex>

#include "tests/support/FakeProbe.h"
#include "engine/phases/suites/GeneralTests.h"

namespace {

using namespace kxtest;

// Two names that the compiler cuts to the same one are an error; significance 0: options that reject every source.
FakeProbe::Compiler Truncating(std::size_t significant)
{
    return [significant](const CompileJob& job) {
        static const std::regex name("(?:int|char) ([ab]{3,})");
        std::vector<std::string> names;
        for (std::sregex_iterator it(job.Source.begin(), job.Source.end(), name), end; it != end; ++it)
            names.push_back((*it)[1].str().substr(0, significant));
        const bool distinct = (names.size() == 2 && names[0] != names[1]) || names.empty();
        return distinct && significant != 0 ? Accept() : Reject("idtest.c:3:6: error: redeclaration\n");
    };
}

}  // namespace

TEST(IdentifierLength, TheExactNumberOfSignificantCharacters)
{
    const struct {
        std::size_t Significant;
        int Expected;
    } cases[] = {{63, 63}, {31, 31}, {6, 6}, {100000, 1024}, {1025, 1024}, {700, 700}, {3, 3}, {2, 31}, {0, -1}};
    for (const auto& c : cases) {
        for (bool external : {true, false}) {
            FakeRun run(Truncating(c.Significant));
            if (c.Expected < 0) {
                EXPECT_THROW(ConductIdentTest(run.Context, external), RunFailure) << "no default for a compiler that takes nothing";
                continue;
            }
            EXPECT_EQ(ConductIdentTest(run.Context, external), c.Expected) << c.Significant;
            EXPECT_LE(run.Fake.Runs(), 20) << c.Significant;
        }
    }
}
