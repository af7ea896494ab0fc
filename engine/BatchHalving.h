// Group testing shared by the macro and the keyword discovery: every probe is a compiler
// run, so candidates are tested in large batches and only the batches that answer "some of
// these" are tested again, at half the size, until single names remain.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

void Say(const std::string& line);

// Batches start at this many names, or at the reduced size when the user asked for small
// test sources (compilers with limits on source size or symbol count).
constexpr std::size_t kFullBatchSize = 16384;
constexpr std::size_t kReducedBatchSize = 1024;

// Runs the levels batchSize, batchSize/2, ..., 1 over the candidates (kept in their order).
// A level with fewer candidates than its batch size is skipped. At each level the list is
// cut from its start into consecutive batches (the last one may be shorter), and the names
// of every batch for which keepBatch(batch) is true make up the list of the next level.
//
// A level can cost thousands of compiler runs, so it reports itself on standard output: one
// line when it starts and one after every hundred batches. The lines start with two blanks
// and the tag in brackets, which no other message of the engine does.
template <typename KeepBatch>
std::vector<std::string> HalvingBatches(std::vector<std::string> candidates, std::size_t batchSize,
                                        const std::string& tag, KeepBatch&& keepBatch)
{
    for (; batchSize != 0; batchSize /= 2) {
        if (candidates.size() < batchSize)
            continue;
        const std::size_t batches = (candidates.size() + batchSize - 1) / batchSize;
        const std::string level = "  [" + tag + "] batches of " + std::to_string(batchSize) + ": ";
        Say(level + std::to_string(candidates.size()) + " names, " + std::to_string(batches) +
            (batches == 1 ? " compiler run" : " compiler runs"));

        std::vector<std::string> kept;
        std::vector<std::string> batch;
        for (std::size_t done = 0, start = 0; start < candidates.size(); start += batchSize) {
            const std::size_t end = std::min(start + batchSize, candidates.size());
            batch.assign(candidates.begin() + static_cast<std::ptrdiff_t>(start),
                         candidates.begin() + static_cast<std::ptrdiff_t>(end));
            if (keepBatch(std::as_const(batch)))
                kept.insert(kept.end(), batch.begin(), batch.end());
            if (++done % 100 == 0 && done < batches)
                Say(level + std::to_string(done) + " of " + std::to_string(batches) + " runs done, " +
                    std::to_string(kept.size()) + " names kept");
        }
        candidates = std::move(kept);
    }
    return candidates;
}
