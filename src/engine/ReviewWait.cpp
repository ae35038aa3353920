#include "engine/ReviewWait.h"

#include <algorithm>
#include <limits>

namespace cxb {

namespace {
constexpr std::int64_t kHourMs = 3600000;
}

ReviewWait ReviewWait::of(const MemoryBook& book, const std::vector<std::int32_t>& bankIds, std::int64_t nowMs,
                          const ReviewSettings& settings) {
    ReviewWait w;
    w.newOff = settings.newPerDay <= 0;
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    bool unseen = false;
    for (std::int32_t id : bankIds) {
        const MemoryState* s = book.find(id);
        if (s)
            next = std::min(next, book.dueMs(*s, settings.retention));
        else
            unseen = true;
    }
    const LearnerDays& days = book.days();
    const std::int64_t today = days.dayOf(nowMs);
    // Today's allowance of new questions is spent; tomorrow brings more.
    if (unseen && !w.newOff) next = std::min(next, days.dayStartMs(today + 1));
    if (next == std::numeric_limits<std::int64_t>::max()) return w;
    next = std::max(next, nowMs);
    w.days = static_cast<int>(std::min<std::int64_t>(days.dayOf(next) - today, 36500));
    if (w.days == 0) w.hours = static_cast<int>(std::max<std::int64_t>((next - nowMs + kHourMs - 1) / kHourMs, 1));
    return w;
}

std::string ReviewWait::text() const {
    std::string s = "今天没有要复习的题目。";
    if (days > 0) return s + "下一批在 " + std::to_string(days) + " 天后。";
    if (days == 0) return s + "下一批在 " + std::to_string(hours) + " 小时后。";
    if (newOff) return s + "每天新题设为 0 道，可以在“设置”的“智能复习”里改。";
    return s;
}

} // namespace cxb
