#pragma once
#include <functional>
#include <vector>

#include "data/AnswerJournal.h"
#include "engine/MasteryReview.h"
#include "engine/Session.h"

namespace cxb {

class PracticeModes;

// 曾经全部错题 when the learner has set a mastery (MasterySetting > 0): the
// ever-wrong questions without those answered right that many times in a
// row since their last wrong answer, each row telling how far it has come
// ("1/3"), and the practice of that set. The streaks come from the answer
// journal; the bank itself is not sorted.
class ReviewWithMastery {
public:
    // The loaded bank's answers in the journal, oldest first.
    using Answers = std::function<std::vector<JournalAnswer>()>;

    ReviewWithMastery(Session& s, PracticeModes& modes, Answers answers);

    // Whether the review is drawn with mastery now.
    bool active() const;
    // The questions of the review, in its order.
    std::vector<MasteryReview::Entry> entries() const;
    // Puts the review's rows into lv1 (and Session::reviewRows).
    void showRows();
    // Fills the question list with the review's questions; their number.
    int fillList();

private:
    Session& s_;
    PracticeModes& modes_;
    Answers answers_;
};

} // namespace cxb
