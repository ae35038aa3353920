#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/SmartReview.h"

namespace cxb {

// When 智能复习 has nothing to offer now: how long until it has, and the
// message that says so.
struct ReviewWait {
    int days = -1;       // calendar days until then; 0 later today; -1 nothing will come
    int hours = 0;       // with days 0: the hours until then, at least 1
    bool newOff = false; // the learner takes no new questions a day

    // From the states of the bank's questions (`bankIds`): the first that
    // falls due again, or tomorrow's new questions while the bank still has
    // questions never answered.
    static ReviewWait of(const MemoryBook& book, const std::vector<std::int32_t>& bankIds, std::int64_t nowMs,
                         const ReviewSettings& settings);
    // "今天没有要复习的题目。下一批在 3 天后。"
    std::string text() const;
};

} // namespace cxb
