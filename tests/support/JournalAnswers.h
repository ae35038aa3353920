#pragma once
// Answers as the journal keeps them, for the memory-model tests: a learner's
// week starting on a Monday, times in milliseconds.
#include <cstdint>
#include <vector>

#include "data/AnswerJournal.h"

namespace cxb::testing {

constexpr std::int64_t kDay = 86400000;
constexpr std::int64_t kHour = 3600000;
// 2026-03-02 00:00 Beijing time (2026-03-01 16:00 UTC).
constexpr std::int64_t kMonday = 1772380800000LL;

inline JournalAnswer answerAt(std::int32_t id, bool right, std::int64_t atMs) {
    JournalAnswer a;
    a.bank = "c1";
    a.questionId = id;
    a.right = right;
    a.atMs = atMs;
    return a;
}

// The ids 1..n.
inline std::vector<std::int32_t> idsUpTo(int n) {
    std::vector<std::int32_t> ids;
    for (int i = 1; i <= n; ++i) ids.push_back(i);
    return ids;
}

} // namespace cxb::testing
