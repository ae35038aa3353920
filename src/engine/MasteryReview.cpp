#include "engine/MasteryReview.h"

#include "engine/RecordSorts.h"

namespace cxb {

std::unordered_map<std::int32_t, int> MasteryReview::rightStreaks(const std::vector<Answer>& answers) {
    std::unordered_map<std::int32_t, int> streaks;
    streaks.reserve(2048);
    for (const Answer& a : answers) {
        int& streak = streaks[a.id];
        streak = a.right ? streak + 1 : 0;
    }
    std::erase_if(streaks, [](const auto& kv) { return kv.second == 0; });
    return streaks;
}

std::unordered_map<std::int32_t, int> MasteryReview::rightStreaks(const std::vector<JournalAnswer>& answers) {
    std::vector<Answer> plain;
    plain.reserve(answers.size());
    for (const JournalAnswer& a : answers) plain.push_back({a.questionId, a.right});
    return rightStreaks(plain);
}

std::vector<MasteryReview::Entry> MasteryReview::build(const Bank& bank,
                                                       const std::unordered_map<std::int32_t, int>& streaks,
                                                       int mastery) {
    const int n = bank.questionCount();
    std::vector<std::int64_t> keys(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) keys[static_cast<std::size_t>(i)] = -static_cast<std::int64_t>(bank.records[static_cast<std::size_t>(i)].wrongCount);
    const std::vector<int> order = RecordSorts::exchangeOrder(keys);
    std::vector<Entry> out;
    for (int p = 1; p <= n; ++p) {
        const int position = order[static_cast<std::size_t>(p)];
        const QuestionRecord& r = bank.records[static_cast<std::size_t>(position)];
        if (r.wrongCount <= 0) continue;
        auto it = streaks.find(r.id);
        const int streak = it == streaks.end() ? 0 : it->second;
        if (mastery > 0 && streak >= mastery) continue;
        out.push_back({position, streak});
    }
    return out;
}

} // namespace cxb
