#include "engine/phases/includes/IncludeOrder.h"

#include <algorithm>
#include <tuple>
#include <utility>

SearchOrder OrderSearchDirectories(std::size_t count, const std::vector<std::size_t>& ranks,
                                   const std::vector<DirectoryPair>& searchedFirst,
                                   const std::vector<DirectoryPair>& matters)
{
    auto comesBefore = [&](std::size_t a, std::size_t b) { return std::tie(ranks[a], a) < std::tie(ranks[b], b); };

    // What the answers imply, directly or through other directories.
    auto closure = [count](std::vector<std::vector<bool>> reach) {
        for (std::size_t k = 0; k < count; ++k)
            for (std::size_t i = 0; i < count; ++i)
                if (reach[i][k])
                    for (std::size_t j = 0; j < count; ++j)
                        if (reach[k][j])
                            reach[i][j] = true;
        return reach;
    };
    std::vector<std::vector<bool>> answered(count, std::vector<bool>(count, false));
    for (const DirectoryPair& pair : searchedFirst)
        answered[pair.First][pair.Second] = true;
    const std::vector<std::vector<bool>> reach = closure(answered);

    // Answers that contradict each other (a cycle) are all set aside; their pairs are
    // named for review. The rest orders the directories, each as early as the user put it:
    // a directory that must come after others brings them along just before itself.
    std::vector<std::vector<std::size_t>> earlier(count);
    std::vector<std::pair<std::size_t, std::size_t>> open;
    std::vector<std::vector<bool>> kept(count, std::vector<bool>(count, false));
    for (const DirectoryPair& pair : searchedFirst) {
        if (reach[pair.Second][pair.First]) {
            open.emplace_back(pair.First, pair.Second);
        } else if (!kept[pair.First][pair.Second]) {
            kept[pair.First][pair.Second] = true;
            earlier[pair.Second].push_back(pair.First);
        }
    }
    std::vector<std::size_t> byRank(count);
    for (std::size_t i = 0; i < count; ++i)
        byRank[i] = i;
    std::sort(byRank.begin(), byRank.end(), comesBefore);
    for (std::vector<std::size_t>& list : earlier)
        std::sort(list.begin(), list.end(), comesBefore);

    SearchOrder result;
    std::vector<bool> placed(count, false);
    auto place = [&](auto& self, std::size_t directory) -> void {
        if (placed[directory])
            return;
        placed[directory] = true;  // the kept answers form no cycle that could lead back here
        for (std::size_t before : earlier[directory])
            self(self, before);
        result.Order.push_back(directory);
    };
    for (std::size_t directory : byRank)
        place(place, directory);

    const std::vector<std::vector<bool>> implied = closure(kept);
    std::vector<std::size_t> position(count);
    for (std::size_t p = 0; p < count; ++p)
        position[result.Order[p]] = p;
    for (const DirectoryPair& pair : matters)
        if (pair.First != pair.Second && !implied[pair.First][pair.Second] && !implied[pair.Second][pair.First])
            open.emplace_back(pair.First, pair.Second);
    // Each pair as the final order has it, the pairs in that order.
    for (auto& [a, b] : open) {
        a = position[a];
        b = position[b];
        if (a > b)
            std::swap(a, b);
    }
    std::sort(open.begin(), open.end());
    open.erase(std::unique(open.begin(), open.end()), open.end());
    for (const auto& [a, b] : open)
        result.Undecided.push_back({result.Order[a], result.Order[b]});
    return result;
}
