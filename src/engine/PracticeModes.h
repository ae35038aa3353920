#pragma once
#include <functional>

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

    // The frame every practice list is built in: beginPractice before the
    // entries are filled, finishPractice after.
    void beginPractice(const char* title);
    void beginPractice(const std::string& title) { beginPractice(title.c_str()); }
    void finishPractice(int modeCode, int background, bool clearLoadingNow);

    // "重新出题" in a list the four commands above do not build: the
    // command that built it runs again (none: nothing happens).
    void setRebuild(std::function<void()> rebuild) { rebuild_ = std::move(rebuild); }

private:
    void startLoadingNote();
    void fillFromTop(int count);

    Session& s_;
    QuestionPresenter& view_;
    ExamSession* exam_ = nullptr;
    std::function<void()> rebuild_;
};

} // namespace cxb
