// Putting the compiler's include directories in its search order from what the compiler
// showed about pairs of them, and from the user's order where it showed nothing.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

struct DirectoryPair {
    std::size_t First;
    std::size_t Second;
    bool operator==(const DirectoryPair&) const = default;
};

struct SearchOrder {
    std::vector<std::size_t> Order;       // the directories' indices, first searched first
    std::vector<DirectoryPair> Undecided; // pairs that matter whose order nothing showed, as ordered
};

// Orders the directories 0 .. count-1. searchedFirst holds the pairs the compiler's messages
// decided (First is searched before Second); contradicting answers are resolved in favour
// of the user's order. Where nothing decides, a directory with a smaller rank (its place on
// the command line) comes first, and among equal ranks the smaller index. Only the order
// of directories that hold a header of the same name changes which file the compiler reads:
// the pairs of `matters` that no decided pair orders, directly or through others, are
// returned as undecided.
SearchOrder OrderSearchDirectories(std::size_t count, const std::vector<std::size_t>& ranks,
                                   const std::vector<DirectoryPair>& searchedFirst,
                                   const std::vector<DirectoryPair>& matters);
