#include "engine/Navigator.h"

#include "engine/PracticeModes.h"
#include "engine/QuestionPresenter.h"
#include "engine/Texts.h"

namespace cxb {

Navigator::Navigator(Session& s, QuestionPresenter& view, PracticeModes& modes) : s_(s), view_(view), modes_(modes) {}

void Navigator::DOClick() {
    if (s_.listCount <= 0) return;
    if (s_.current < s_.listCount) {
        view_.showQuestion(s_.current + 1);
        return;
    }
    if (s_.modeCode == 3) {
        view_.showQuestion(1); // the exam wraps around
        return;
    }
    if (modes_.keepUnsolved()) {
        s_.message(texts::kRetryWrong);
        s_.displayMode = 2;
        view_.showQuestion(1);
    } else {
        s_.message(texts::kAllSolved);
        modes_.Button2Click();
    }
}

void Navigator::UPClick() {
    if (s_.listCount <= 0) return;
    view_.showQuestion(s_.current <= 1 ? s_.listCount : s_.current - 1);
}

void Navigator::TimerNextTimer() {
    if (s_.autoNextArmed && s_.checkBox2) {
        s_.autoNextArmed = false;
        s_.port.stopTimer(Tmr::TimerNext);
        DOClick();
    }
}

void Navigator::setAutoNext(bool ticked) { s_.checkBox2 = ticked; }

void Navigator::setShowAnswer(bool ticked) { s_.checkBox1 = ticked; }

void Navigator::mage1MouseMove(int x, int y) {
    if (s_.hoverCell >= 1 && s_.hoverCell <= s_.listCount) view_.drawPicker(s_.hoverCell, PickerCanvas::kPlain);
    if (x < 0 || y < 0) return;
    int k = PickerCanvas::hitTest(x, y);
    if (k >= 1 && k <= s_.listCount) {
        s_.hoverCell = k;
        view_.drawPicker(k, PickerCanvas::kHover);
        s_.port.startTimer(Tmr::tmrmouse, 5000);
    }
}

void Navigator::mage1Click() {
    if (s_.hoverCell >= 1 && s_.hoverCell <= s_.listCount) view_.showQuestion(s_.hoverCell);
}

void Navigator::tmrmouseTimer() {
    if (s_.hoverCell >= 1 && s_.hoverCell <= s_.listCount) view_.drawPicker(s_.hoverCell, PickerCanvas::kPlain);
    s_.port.stopTimer(Tmr::tmrmouse);
}

void Navigator::tmrKAOSHITimer() {
    view_.drawPicker(0, PickerCanvas::kWhole);
    view_.showQuestion(0);
    s_.port.stopTimer(Tmr::tmrKAOSHI);
}

} // namespace cxb
