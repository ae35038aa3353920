#pragma once
#include <ctime>
#include <functional>
#include <string>

#include "engine/Session.h"

namespace cxb {

class QuestionPresenter;

// The mock exam around the paper: the clock and countdown, the hand-in,
// the score and its graded message, and the history entry.
class ExamSession {
public:
    // Seconds since the epoch; tests set their own clock.
    using Clock = std::function<std::time_t()>;

    ExamSession(Session& s, QuestionPresenter& view);
    void setClock(Clock clock) { clock_ = std::move(clock); }
    // Called once the result panel shows a score, to add to it.
    std::function<void()> onResultShown;

    void startClock();      // exam start: examStart, tmruptime, lbl1
    void tmruptimeTimer();  // countdown label
    void JIAOJUANClick();   // hand-in
    void finishExam(int score);
    void btn1Click();       // "关闭" on the result panel

    int score() const;
    static std::string countdownText(long long remaining);
    static std::string resultText(int score);
    static std::string takenAtText(std::time_t when);
    // The bank's tag as it fits a history entry: the end of a long path.
    static std::string storedBankTag(const std::string& tag);
    static std::string bankTag(const Sfile& state);

private:
    Session& s_;
    QuestionPresenter& view_;
    Clock clock_;
};

} // namespace cxb
