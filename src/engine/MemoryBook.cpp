#include "engine/MemoryBook.h"

#include <cmath>
#include <ctime>
#include <unordered_map>

namespace cxb {

namespace {
constexpr std::int64_t kDayMs = 86400000;
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
} // namespace

std::int64_t LearnerDays::dayOf(std::int64_t atMs) const { return floorDiv(atMs + utcOffsetMs, kDayMs); }

std::int64_t LearnerDays::dayStartMs(std::int64_t day) const { return day * kDayMs - utcOffsetMs; }

LearnerDays LearnerDays::local(std::int64_t atMs) {
    std::time_t t = static_cast<std::time_t>(atMs / 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    return LearnerDays{static_cast<std::int64_t>(tm.tm_gmtoff) * 1000};
}

MemoryBook::MemoryBook(const std::vector<JournalAnswer>& answers, LearnerDays days, MemoryModel model)
    : model_(model), days_(days) {
    // Replayed in a flat table, then kept ordered by id.
    std::unordered_map<std::int32_t, std::size_t> slot;
    slot.reserve(2048);
    std::vector<std::pair<std::int32_t, MemoryState>> table;
    table.reserve(2048);
    for (const JournalAnswer& a : answers) {
        auto [it, fresh] = slot.try_emplace(a.questionId, table.size());
        if (fresh) {
            table.emplace_back(a.questionId, MemoryState{});
            noteFirst(a);
        }
        MemoryState& s = table[it->second].second;
        s = replay(s, a);
    }
    for (auto& [id, s] : table) states_.emplace_hint(states_.end(), id, s);
}

void MemoryBook::add(const JournalAnswer& a) {
    auto [it, fresh] = states_.try_emplace(a.questionId);
    if (fresh) noteFirst(a);
    it->second = replay(it->second, a);
}

void MemoryBook::noteFirst(const JournalAnswer& a) {
    ++firstAnswers_;
    if (a.right) ++firstRight_;
    firstDay_[a.questionId] = days_.dayOf(a.atMs);
}

MemoryState MemoryBook::replay(const MemoryState& s, const JournalAnswer& a) const {
    // An answer stamped before the previous one (a clock set back) counts
    // as given at the same moment.
    std::int64_t at = s.answers > 0 && a.atMs < s.lastMs ? s.lastMs : a.atMs;
    bool sameDay = s.answers > 0 && days_.dayOf(at) == days_.dayOf(s.lastMs);
    return model_.answer(s, a.right, at, sameDay);
}

const MemoryState* MemoryBook::find(std::int32_t questionId) const {
    auto it = states_.find(questionId);
    return it == states_.end() ? nullptr : &it->second;
}

int MemoryBook::newOnDay(std::int64_t day) const {
    int n = 0;
    for (const auto& [id, d] : firstDay_)
        if (d == day) ++n;
    return n;
}

double MemoryBook::retrievability(std::int32_t questionId, std::int64_t nowMs) const {
    const MemoryState* s = find(questionId);
    if (!s) return -1.0;
    return model_.retrievability(static_cast<double>(nowMs - s->lastMs) / MemoryModel::kMsPerDay, s->stability);
}

std::int64_t MemoryBook::dueMs(const MemoryState& s, double retention) const {
    double days = model_.interval(s.stability, retention);
    return s.lastMs + static_cast<std::int64_t>(std::llround(days * MemoryModel::kMsPerDay));
}

} // namespace cxb
