#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "data/AnswerJournal.h"
#include "data/Bank.h"

namespace cxb {

// The review of the questions ever answered wrong, with mastery: a question
// answered right `mastery` times in a row since its last wrong answer is
// taken out of it (0: never, every ever-wrong question stays).
class MasteryReview {
public:
    // One counted answer, in the order it was given.
    struct Answer {
        std::int32_t id = 0;
        bool right = false;
    };

    // A question of the review: its bank position and its right answers in
    // a row so far (how far it has come towards `mastery`).
    struct Entry {
        int position = 0;
        int streak = 0;
        bool operator==(const Entry&) const = default;
    };

    // Each question's right answers in a row at the end of `answers` (a
    // question whose last answer was wrong has 0 and is left out).
    static std::unordered_map<std::int32_t, int> rightStreaks(const std::vector<Answer>& answers);
    // The same from the journal's answers of one bank, oldest first.
    static std::unordered_map<std::int32_t, int> rightStreaks(const std::vector<JournalAnswer>& answers);

    // The ever-wrong questions (wrongCount > 0) in the review's order (most
    // wrong first, ties as the existing review orders them), without those
    // mastered.
    static std::vector<Entry> build(const Bank& bank, const std::unordered_map<std::int32_t, int>& streaks,
                                    int mastery);
};

} // namespace cxb
