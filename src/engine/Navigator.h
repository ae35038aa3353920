#pragma once
#include "engine/Session.h"

namespace cxb {

class QuestionPresenter;
class PracticeModes;

// Moving through the list: previous, next, the automatic move, and the
// question picker's hover and jump.
class Navigator {
public:
    Navigator(Session& s, QuestionPresenter& view, PracticeModes& modes);

    void DOClick(); // next
    void UPClick(); // previous
    void TimerNextTimer();
    void setAutoNext(bool ticked); // CheckBox2
    void setShowAnswer(bool ticked); // CheckBox1

    void mage1MouseMove(int x, int y);
    void mage1Click();
    void tmrmouseTimer();
    void tmrKAOSHITimer();

private:
    Session& s_;
    QuestionPresenter& view_;
    PracticeModes& modes_;
};

} // namespace cxb
