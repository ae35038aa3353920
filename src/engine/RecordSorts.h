#pragma once
#include <cstdint>
#include <vector>

#include "data/Bank.h"

namespace cxb {

// The record sorts of the bank buffer. The order, ties included, is the one
// of the classic exchange loop
//     for i in 1..N: for j in 1..N: if key(i) < key(j): swap(i, j)
// but it is worked out on keys and positions, and the records are moved
// once at the end.
class RecordSorts {
public:
    static void sortById(Bank& bank);          // ascending id
    static void sortByAnswerCount(Bank& bank); // ascending answerCount
    static void sortByWrongCount(Bank& bank);  // descending wrongCount

    // The permutation the exchange loop makes of keys[1..n] (keys[0] is
    // ignored): result[p] is the original position of what ends at p.
    static std::vector<int> exchangeOrder(const std::vector<std::int64_t>& keys);
};

} // namespace cxb
