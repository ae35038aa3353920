#pragma once
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "data/Bank.h"
#include "engine/FiledScope.h"

namespace cxb {

// The practice lists drawn by chapter and topic, at random and from the
// favourites. Each is the bank positions (1..questionCount) of its
// questions in the order they are practised; the bank itself is not moved.
class FiledLists {
public:
    // 章节练习 / 专项练习: the scope's questions in sequential order, by
    // ascending id, questions sharing an id in their bank order.
    static std::vector<int> sequential(const Bank& bank, FiledScope scope);

    // 随机练习: the scope's questions, each once, in an order drawn from
    // `seed`. The same bank, scope and seed always give the same order, on
    // every platform (the draw uses its own generator, not the library's
    // distributions, whose results differ between implementations).
    static std::vector<int> shuffled(const Bank& bank, FiledScope scope, std::uint64_t seed);

    // 我的收藏: the questions whose id is among `favouriteIds`, in sequential
    // order. An id the bank does not hold is left out.
    static std::vector<int> favourites(const Bank& bank, const std::unordered_set<std::int32_t>& favouriteIds);
};

} // namespace cxb
