#pragma once
#include "engine/Session.h"

namespace cxb {

class QuestionPresenter;
class ExamSession;

// The commands that build the current question list: sequential,
// beginner, hard-question practice and the mock exam's paper, the rebuild
// "重新出题", and the pass over the unsolved entries.
class PracticeModes {
public:
    PracticeModes(Session& s, QuestionPresenter& view);
    void setExam(ExamSession* exam) { exam_ = exam; }

    void SunXuClick();    // sequential
    void chujiClick();    // beginner
    void LianXKSClick();  // hard questions
    void KaoShiClick();   // mock exam
    void Button2Click();  // "重新出题"
    void btn3Click();     // "再次挑战刚刚错题" after an exam

    void clearEntry(int i);
    // Copies bank record `r` into list entry `i` (after clearEntry).
    void fillEntry(int i, int r);
    // Keeps only the unsolved entries; false when there are none.
    bool keepUnsolved();
    // Stops a running exam without recording it.
    void abandonExam();

private:
    void beginPractice(const char* title);
    void finishPractice(int modeCode, int background, bool clearLoadingNow);
    void startLoadingNote();
    void fillFromTop(int count);

    Session& s_;
    QuestionPresenter& view_;
    ExamSession* exam_ = nullptr;
};

} // namespace cxb
