#pragma once
// What the two duplicate lists show for the groups of equal files in a hit list. For each
// hit from the last to the first, every other member of its group (from the last to the
// first) is added to the list of duplicates found, and the hit itself to the list of
// originals unless it is in either list already. So three equal files A, B, C give the
// original C and the duplicates B, A, C, A, C, B: each copy is listed once for every other
// copy, k x (k-1) rows for a group of k.
//
// A group larger than kMaxRepeatedGroup would fill the list with repeats (a million rows for
// a thousand copies) and tell the user nothing more, so its duplicates are listed once each
// under the group's original.

#include <vector>

struct DuplicateRows {
    std::vector<int> originals;  // list positions, in the order added
    std::vector<int> duplicates; // list positions, in the order added

    static constexpr int kMaxRepeatedGroup = 16;

    // groups: list positions of equal files, as DuplicateJob gives them; count: the list size.
    static DuplicateRows build(const std::vector<std::vector<int>>& groups, int count);
};
