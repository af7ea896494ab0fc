// Group testing shared by the macro and the keyword discovery: every probe is a compiler
// run, so candidates are tested in large batches and only the batches that answer "some of
// these" are tested again, at half the size, until single names remain.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/Reporter.h"
#include "engine/probe/RunContext.h"

// The batch size of the first level that the halving really runs for this many candidates:
// the starting size halved until it fits (0 for no candidates).
inline std::size_t FirstLevel(std::size_t candidates, std::size_t batchSize)
{
    while (batchSize > candidates)
        batchSize /= 2;
    return batchSize;
}

// The candidates cut from their start into consecutive batches of this size (the last one
// may be shorter), as the halving cuts them.
inline std::vector<std::vector<std::string>> CutIntoBatches(const std::vector<std::string>& candidates,
                                                            std::size_t batchSize)
{
    std::vector<std::vector<std::string>> batches;
    for (std::size_t begin = 0; begin < candidates.size(); begin += batchSize) {
        const std::size_t end = std::min(begin + batchSize, candidates.size());
        batches.emplace_back(candidates.begin() + static_cast<std::ptrdiff_t>(begin),
                             candidates.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return batches;
}

// Runs the levels batchSize, batchSize/2, ..., 1 over the candidates (kept in their order).
// A level with fewer candidates than its batch size is skipped. At each level the list is
// cut from its start into consecutive batches (the last one may be shorter), and the names
// of every batch for which keepBatch(batch) is true make up the list of the next level. The
// batches of one level are independent and are tested at once, up to the run's jobs.
//
// A level can cost thousands of compiler runs, so it reports itself on standard output: one
// line when it starts and one after every hundred batches. The lines start with two blanks
// and the tag in brackets, which no other message of the engine does.
template <typename KeepBatch>
std::vector<std::string> HalvingBatches(const RunContext& context, std::vector<std::string> candidates,
                                        std::size_t batchSize, const std::string& tag, KeepBatch&& keepBatch)
{
    for (; batchSize != 0; batchSize /= 2) {
        if (candidates.size() < batchSize)
            continue;
        const std::size_t batches = (candidates.size() + batchSize - 1) / batchSize;
        const std::string level = "  [" + tag + "] batches of " + std::to_string(batchSize) + ": ";
        context.Report.Say(level + std::to_string(candidates.size()) + " names, " + std::to_string(batches) +
            (batches == 1 ? " compiler run" : " compiler runs"));

        auto batchOf = [&](std::size_t b) {
            const auto begin = candidates.begin() + static_cast<std::ptrdiff_t>(b * batchSize);
            const auto end = candidates.begin() + static_cast<std::ptrdiff_t>(std::min((b + 1) * batchSize, candidates.size()));
            return std::vector<std::string>(begin, end);
        };
        std::vector<std::string> kept;
        context.ForEach(
            batches,
            [&](std::size_t b) {
                const std::vector<std::string> batch = batchOf(b);
                return static_cast<bool>(keepBatch(batch));
            },
            [&](std::size_t b, bool keep) {
                if (keep) {
                    const std::vector<std::string> batch = batchOf(b);
                    kept.insert(kept.end(), batch.begin(), batch.end());
                }
                if ((b + 1) % 100 == 0 && b + 1 < batches)
                    context.Report.Say(level + std::to_string(b + 1) + " of " + std::to_string(batches) + " runs done, " +
                        std::to_string(kept.size()) + " names kept");
            });
        candidates = std::move(kept);
    }
    return candidates;
}
