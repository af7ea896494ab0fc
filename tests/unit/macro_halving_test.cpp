// The group testing behind macro and keyword discovery, with a probe that answers from a
// fixed set instead of a compiler: what it keeps, how many probes it costs, and what it
// tells the user on a long level.
#include "BatchHalving.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

std::vector<std::string> Names(std::size_t count)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        names.push_back("n" + std::string(6 - number.size(), '0') + number);
    }
    return names;
}

struct Outcome {
    std::vector<std::string> Kept;
    std::vector<std::size_t> BatchSizes;
    std::vector<std::string> Lines;
};

Outcome Halve(const std::vector<std::string>& names, std::size_t start, const std::set<std::string>& hits)
{
    Outcome outcome;
    testing::internal::CaptureStdout();
    outcome.Kept = HalvingBatches(names, start, "macros", [&](const std::vector<std::string>& batch) {
        outcome.BatchSizes.push_back(batch.size());
        for (const std::string& name : batch)
            if (hits.count(name) != 0)
                return true;
        return false;
    });
    std::string line;
    for (char c : testing::internal::GetCapturedStdout()) {
        if (c == '\n') {
            outcome.Lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    return outcome;
}

TEST(MacroHalvingTest, KeepsExactlyTheHitsInOrder)
{
    const std::vector<std::string> names = Names(600);
    const std::set<std::string> hits{names[0], names[5], names[6], names[599]};
    const Outcome outcome = Halve(names, kReducedBatchSize, hits);
    EXPECT_EQ(outcome.Kept, (std::vector<std::string>{names[0], names[5], names[6], names[599]}));
    // 1024 is skipped; 512 takes two batches, the second of the remaining 88 names.
    ASSERT_GE(outcome.BatchSizes.size(), 2U);
    EXPECT_EQ(outcome.BatchSizes[0], 512U);
    EXPECT_EQ(outcome.BatchSizes[1], 88U);
    EXPECT_EQ(outcome.Lines.front(), "  [macros] batches of 512: 600 names, 2 compiler runs");
}

TEST(MacroHalvingTest, NothingToKeepCostsOneLevel)
{
    const Outcome outcome = Halve(Names(20000), kFullBatchSize, {});
    EXPECT_TRUE(outcome.Kept.empty());
    EXPECT_EQ(outcome.BatchSizes, (std::vector<std::size_t>{16384, 3616}));
    EXPECT_TRUE(Halve({}, kFullBatchSize, {}).BatchSizes.empty());
}

TEST(MacroHalvingTest, LongLevelsReportEveryHundredRunsAndNoMore)
{
    // 50,000 names, one hit in every 40: the levels of 64 and below run hundreds of probes.
    const std::vector<std::string> names = Names(50000);
    std::set<std::string> hits;
    for (std::size_t i = 0; i < names.size(); i += 40)
        hits.insert(names[i]);
    const Outcome outcome = Halve(names, kFullBatchSize, hits);
    EXPECT_EQ(outcome.Kept.size(), hits.size());

    std::size_t levels = 0;
    std::size_t progress = 0;
    for (const std::string& line : outcome.Lines) {
        ASSERT_EQ(line.rfind("  [macros] batches of ", 0), 0U) << line;
        EXPECT_LT(line.size(), 80U) << line;
        if (line.find(" names, ") != std::string::npos)
            ++levels;
        else if (line.find(" runs done, ") != std::string::npos)
            ++progress;
        else
            ADD_FAILURE() << line;
    }
    EXPECT_EQ(levels, 15U);   // 16384 down to 1, every level tested
    EXPECT_GT(progress, 0U);
    EXPECT_LE(progress, outcome.BatchSizes.size() / 100) << "at most one line per hundred runs";
    // Each hit shares its batch of two with one other name, so 2500 names reach the last level.
    EXPECT_NE(std::find(outcome.Lines.begin(), outcome.Lines.end(),
                        "  [macros] batches of 1: 100 of 2500 runs done, 50 names kept"),
              outcome.Lines.end());
}

}  // namespace
