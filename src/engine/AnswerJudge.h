#pragma once
#include "engine/Session.h"

namespace cxb {

class QuestionPresenter;

// Takes the learner's answers: stores them in the entry on show, keeps the
// running score, adds each entry's first answer to the question's counters
// and arms the automatic move.
class AnswerJudge {
public:
    AnswerJudge(Session& s, QuestionPresenter& view);

    void answerQuestion(int code);
    void countAnswer(int id, bool right);
    // A multiple-choice box changed; `bit` is 2 for A … 256 for H.
    void multiBoxChanged(int bit, bool ticked);
    void btnduoxuanClick(); // "完成"

    static int percentage(int right, int answered);

private:
    void multiBoxTicked(int bit);
    Session& s_;
    QuestionPresenter& view_;
};

} // namespace cxb
