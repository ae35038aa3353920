#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "engine/MemoryBook.h"

namespace cxb {

// The learner's choices for 智能复习.
struct ReviewSettings {
    static constexpr double kDefaultRetention = 0.9;
    static constexpr int kDefaultNewPerDay = 20;
    double retention = kDefaultRetention; // review once recall falls below this
    int newPerDay = kDefaultNewPerDay;    // new questions a day
};

// How many questions fall due: [0] by the end of today (the overdue
// included), [1]..[7] on each of the next seven days.
using DueCounts = std::array<int, 8>;

// The 智能复习 list: the questions due now, the least likely to be
// recalled first, then never-answered questions in bank order, as many as
// are left of today's allowance of new ones.
class SmartReview {
public:
    // `bankIds` are the bank's question ids in record order.
    static std::vector<std::int32_t> build(const MemoryBook& book, const std::vector<std::int32_t>& bankIds,
                                           std::int64_t nowMs, const ReviewSettings& settings);
    // The answered questions whose recall is below the retention now, most
    // overdue (lowest recall) first; ties by id.
    static std::vector<std::int32_t> dueNow(const MemoryBook& book, std::int64_t nowMs, double retention);
    static DueCounts dueCounts(const MemoryBook& book, std::int64_t nowMs, double retention);
    // Whole days from today until the question is due again: 0 today.
    static int daysUntilDue(const MemoryBook& book, std::int32_t questionId, std::int64_t nowMs, double retention);
};

} // namespace cxb
