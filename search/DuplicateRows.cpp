#include "search/DuplicateRows.h"

#include <algorithm>

DuplicateRows DuplicateRows::build(const std::vector<std::vector<int>>& groups, int count)
{
    std::vector<int> groupOf(std::size_t(std::max(count, 0)), -1);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (int index : groups[g]) {
            if (index >= 0 && index < count)
                groupOf[std::size_t(index)] = int(g);
        }
    }
    DuplicateRows rows;
    std::vector<bool> listed(groupOf.size(), false);
    for (int i = count - 1; i >= 0; --i) {
        const int g = groupOf[std::size_t(i)];
        if (g < 0)
            continue;
        const std::vector<int>& members = groups[std::size_t(g)];
        const bool repeated = int(members.size()) <= kMaxRepeatedGroup;
        // A large group is listed once, when its last member comes up.
        if (!repeated && i != members.back())
            continue;
        for (auto j = members.rbegin(); j != members.rend(); ++j) {
            if (*j == i)
                continue;
            rows.duplicates.push_back(*j);
            listed[std::size_t(*j)] = true;
        }
        if (!listed[std::size_t(i)]) {
            rows.originals.push_back(i);
            listed[std::size_t(i)] = true;
        }
    }
    return rows;
}
