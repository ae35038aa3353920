#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "data/AnswerJournal.h"
#include "engine/MemoryModel.h"

namespace cxb {

// Calendar days in the learner's time zone: `utcOffsetMs` is added to a
// Unix time before it is cut into days.
struct LearnerDays {
    std::int64_t utcOffsetMs = 8 * 3600 * 1000; // Beijing time unless told
    std::int64_t dayOf(std::int64_t atMs) const;
    std::int64_t dayStartMs(std::int64_t day) const;
    // The local offset of this computer at `atMs`.
    static LearnerDays local(std::int64_t atMs);
};

// Every answered question's memory state in one bank, replayed from its
// answers oldest first. Questions never answered have no state.
class MemoryBook {
public:
    MemoryBook(const std::vector<JournalAnswer>& answers, LearnerDays days = {}, MemoryModel model = MemoryModel());

    // One more answer, newer than every answer the book holds.
    void add(const JournalAnswer& answer);

    const MemoryState* find(std::int32_t questionId) const;
    const std::map<std::int32_t, MemoryState>& states() const { return states_; }
    const MemoryModel& model() const { return model_; }
    const LearnerDays& days() const { return days_; }
    // Of the first answers of the bank, the share that were right, and how
    // many there were: what a never-answered question is likely to get.
    int firstAnswers() const { return firstAnswers_; }
    int firstRight() const { return firstRight_; }
    // Questions first answered on that calendar day.
    int newOnDay(std::int64_t day) const;

    // The chance this question is recalled at `nowMs`; -1 when never answered.
    double retrievability(std::int32_t questionId, std::int64_t nowMs) const;
    // When recall falls below `retention`.
    std::int64_t dueMs(const MemoryState& s, double retention) const;

private:
    // Counts a question's first answer.
    void noteFirst(const JournalAnswer& a);
    // `s` after answer `a`.
    MemoryState replay(const MemoryState& s, const JournalAnswer& a) const;

    MemoryModel model_;
    LearnerDays days_;
    std::map<std::int32_t, MemoryState> states_;
    std::map<std::int32_t, std::int64_t> firstDay_;
    int firstAnswers_ = 0;
    int firstRight_ = 0;
};

} // namespace cxb
