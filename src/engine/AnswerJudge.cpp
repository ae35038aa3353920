#include "engine/AnswerJudge.h"

#include "engine/JournalPort.h"
#include "engine/QuestionPresenter.h"
#include "engine/Texts.h"

namespace cxb {

AnswerJudge::AnswerJudge(Session& s, QuestionPresenter& view) : s_(s), view_(view) {}

int AnswerJudge::percentage(int right, int answered) {
    if (answered == 0) return 0;
    return static_cast<int>(100LL * right / answered);
}

void AnswerJudge::answerQuestion(int code) {
    ListEntry* e = s_.shown();
    if (!e) return; // nothing on show: nothing to answer
    s_.port.scrollPicker(((s_.current - 1) / PickerCanvas::kPerRow) * PickerCanvas::kCellHeight - 35);
    if (e->userAnswer != 0) {
        e->userAnswer = code;
        view_.showQuestion(0);
        return;
    }
    e->userAnswer = code;
    ++s_.listAnswered;
    const bool right = code == e->answer;
    if (right) ++s_.listRight;
    e->firstRight = right;
    countAnswer(e->id, right);
    if (s_.displayMode == 2) {
        s_.port.setVisible(Ctl::Label5, true);
        s_.port.setVisible(Ctl::Label6, true);
        s_.port.setText(Ctl::Label5, texts::kScore + std::to_string(s_.listRight));
        s_.port.setText(Ctl::Label6, texts::kRate + std::to_string(s_.listRight) + "/" +
                                         std::to_string(s_.listAnswered) + "(" +
                                         std::to_string(percentage(s_.listRight, s_.listAnswered)) + "%)");
    } else {
        s_.port.setVisible(Ctl::Label5, false);
        s_.port.setVisible(Ctl::Label6, false);
    }
    if (s_.checkBox2 && (s_.displayMode != 2 || right)) {
        s_.port.startTimer(Tmr::TimerNext, s_.state->pauseMs);
        s_.autoNextArmed = true;
    }
    view_.showQuestion(0);
}

void AnswerJudge::countAnswer(int id, bool right) {
    ListEntry* e = s_.shown();
    if (!e) return;
    if (!e->counted) {
        e->firstRight = right;
        const int n = s_.questionCount();
        for (int i = 1; i <= n; ++i) {
            QuestionRecord& r = s_.record(i);
            if (r.id != id) continue;
            if (right)
                ++r.rightCount;
            else
                ++r.wrongCount;
            ++r.answerCount;
        }
        if (s_.journal) s_.journal->answerCounted(id, right, e->userAnswer, s_.modeCode);
    }
    e->counted = true;
}

void AnswerJudge::multiBoxChanged(int bit, bool ticked) {
    if (!s_.boxEventsEnabled) return; // the program is setting the boxes itself
    if (ticked)
        s_.multiBoxes |= bit;
    else
        s_.multiBoxes &= ~bit;
    if (ticked) multiBoxTicked(bit);
}

void AnswerJudge::multiBoxTicked(int bit) {
    ListEntry* e = s_.shown();
    if (!e || s_.displayMode != 2) return;
    if (e->answer & bit) return; // a right option waits for "完成"
    e->firstRight = false;
    e->userAnswer = s_.multiBoxes;
    countAnswer(e->id, false);
    view_.showQuestion(0);
}

void AnswerJudge::btnduoxuanClick() {
    ListEntry* e = s_.shown();
    if (!e) return;
    e->userAnswer = s_.multiBoxes;
    if (s_.displayMode == 2) countAnswer(e->id, e->userAnswer == e->answer);
    view_.showQuestion(0);
    s_.port.startTimer(Tmr::TimerNext, s_.state->pauseMs);
    s_.autoNextArmed = true;
}

} // namespace cxb
