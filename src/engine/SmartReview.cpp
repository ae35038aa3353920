#include "engine/SmartReview.h"

#include <algorithm>
#include <unordered_set>

namespace cxb {

std::vector<std::int32_t> SmartReview::dueNow(const MemoryBook& book, std::int64_t nowMs, double retention) {
    struct Due {
        double r;
        std::int32_t id;
    };
    std::vector<Due> due;
    for (const auto& [id, s] : book.states()) {
        double r = book.model().retrievability(static_cast<double>(nowMs - s.lastMs) / MemoryModel::kMsPerDay, s.stability);
        if (r < retention) due.push_back({r, id});
    }
    std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) { return a.r != b.r ? a.r < b.r : a.id < b.id; });
    std::vector<std::int32_t> ids;
    ids.reserve(due.size());
    for (const Due& d : due) ids.push_back(d.id);
    return ids;
}

std::vector<std::int32_t> SmartReview::build(const MemoryBook& book, const std::vector<std::int32_t>& bankIds,
                                             std::int64_t nowMs, const ReviewSettings& settings) {
    std::vector<std::int32_t> list = dueNow(book, nowMs, settings.retention);
    int allowance = settings.newPerDay - book.newOnDay(book.days().dayOf(nowMs));
    std::unordered_set<std::int32_t> taken;
    for (std::int32_t id : bankIds) {
        if (allowance <= 0) break;
        if (book.find(id) || !taken.insert(id).second) continue;
        list.push_back(id);
        --allowance;
    }
    return list;
}

DueCounts SmartReview::dueCounts(const MemoryBook& book, std::int64_t nowMs, double retention) {
    DueCounts counts{};
    const std::int64_t today = book.days().dayOf(nowMs);
    for (const auto& [id, s] : book.states()) {
        std::int64_t day = book.days().dayOf(book.dueMs(s, retention)) - today;
        if (day <= 0) ++counts[0];
        else if (day < static_cast<std::int64_t>(counts.size())) ++counts[static_cast<std::size_t>(day)];
    }
    return counts;
}

int SmartReview::daysUntilDue(const MemoryBook& book, std::int32_t questionId, std::int64_t nowMs, double retention) {
    const MemoryState* s = book.find(questionId);
    if (!s) return 0;
    std::int64_t days = book.days().dayOf(book.dueMs(*s, retention)) - book.days().dayOf(nowMs);
    return static_cast<int>(std::clamp<std::int64_t>(days, 0, 36500));
}

} // namespace cxb
