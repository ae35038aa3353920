#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/ChosenPractice.h"
#include "engine/JournalKeeper.h"
#include "engine/JournalMemory.h"
#include "engine/PassChance.h"
#include "engine/ProgressStats.h"
#include "engine/SmartReview.h"

namespace cxb {

// The learner's memory of the loaded bank, from the answer journal: the
// 智能复习 list, when a question just answered comes back, what falls due,
// and the chance to pass a mock exam now and at each paper handed in.
class LearnerMemory {
public:
    static constexpr const char* kTitle = "智能复习";

    LearnerMemory(Session& s, JournalKeeper& journal, ChosenPractice& chosen);

    // 智能复习: the questions due now, least likely recalled first, then
    // today's new ones. With none, the learner is told when the next come
    // and the list on show stays. Returns the list's length.
    int start();
    // The bank positions of that list now.
    std::vector<int> positions();
    // After an answer to `questionId`: when it comes back, from its state
    // with that answer; "" when the journal holds no answer of it.
    std::string noteAfterAnswer(std::int32_t questionId);

    // The chance a paper of the exam size set would pass now.
    PassEstimate passChance();
    // After a hand-in: the pass line on the result panel.
    void showPassChance();
    ReviewOutlook outlook();
    // The section of the information page; "" without a bank.
    std::string infoHtml();
    // The figures of 学习进度 with the outlook.
    BankProgress bankProgress();
    // The papers of 成绩走势 with the chance to pass at each hand-in.
    ScoreTrend scoreTrend();

    ReviewSettings settings() const;
    // Test seam: the learner's calendar; the computer's time zone unless set.
    void setDays(LearnerDays days) { days_ = days; }

private:
    const MemoryBook& book(std::int64_t nowMs);
    LearnerDays daysAt(std::int64_t nowMs) const;
    // The bank's ids in record order, as the exam draws them now.
    std::vector<std::int32_t> bankIds() const;
    int examSize() const;

    Session& s_;
    JournalKeeper& journal_;
    ChosenPractice& chosen_;
    JournalMemory memory_;
    std::optional<LearnerDays> days_;
};

} // namespace cxb
