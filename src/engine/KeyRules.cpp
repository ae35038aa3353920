#include "engine/KeyRules.h"

#include "engine/AnswerJudge.h"
#include "engine/Navigator.h"

namespace cxb {

namespace vk {
constexpr int A = 0x41, B = 0x42, C = 0x43, D = 0x44, H = 0x48, Up = 0x26, Down = 0x28;
}

namespace {
constexpr Ctl kBoxes[] = {Ctl::chkA, Ctl::chkB, Ctl::chkC, Ctl::chkD, Ctl::chkE, Ctl::chkF, Ctl::chkG, Ctl::chkH};
}

KeyRules::KeyRules(Session& s, AnswerJudge& judge, Navigator& nav) : s_(s), judge_(judge), nav_(nav) {}

KeyRules::Decision KeyRules::decide(const Sfile& st, int key, AnswerPanel shown) {
    const bool trueFalse = shown == AnswerPanel::TrueFalse;
    const bool multi = shown == AnswerPanel::Multi;
    // On a multiple-choice question the answer keys tick box A–D instead of
    // sending a single-choice code no set of boxes could ever equal.
    auto answer = [multi](int code, int box) { return multi ? Decision{Action::ToggleBox, 2 << box} : Decision{Action::Answer, code}; };
    if (key == vk::A || key == st.keyAnswerA) return answer(trueFalse ? 6 : 1, 0);
    if (key == vk::B || key == st.keyAnswerB) return answer(trueFalse ? 5 : 2, 1);
    if (key == vk::C || key == st.keyAnswerC) return answer(3, 2);
    if (key == vk::D || key == st.keyAnswerD) return answer(4, 3);
    if (key == vk::Up || key == st.keyPrevious) return {Action::Previous, 0};
    if (key == vk::Down || key == st.keyNext) return {Action::Next, 0};
    if (multi && key > vk::D && key <= vk::H) return {Action::ToggleBox, 2 << (key - vk::A)};
    if (multi && key == kEnter) return {Action::Complete, 0};
    return {};
}

KeyRules::Decision KeyRules::decide(const Sfile& st, int key, bool trueFalseShown) {
    return decide(st, key, trueFalseShown ? AnswerPanel::TrueFalse : AnswerPanel::Single);
}

bool KeyRules::FormKeyUp(int key, bool questionPanelActive, AnswerPanel shown) {
    if (!questionPanelActive) return false;
    Decision d = decide(*s_.state, key, shown);
    switch (d.action) {
    case Action::Answer: judge_.answerQuestion(d.code); break;
    case Action::Previous: nav_.UPClick(); break;
    case Action::Next: nav_.DOClick(); break;
    case Action::ToggleBox:
        if (!s_.shown()) return false;
        toggleBox(d.code);
        break;
    case Action::Complete:
        if (!s_.shown()) return false;
        judge_.btnduoxuanClick();
        break;
    case Action::None: return false;
    }
    return true;
}

bool KeyRules::FormKeyUp(int key, bool questionPanelActive, bool trueFalseShown) {
    return FormKeyUp(key, questionPanelActive, trueFalseShown ? AnswerPanel::TrueFalse : AnswerPanel::Single);
}

void KeyRules::toggleBox(int bit) {
    const bool ticked = (s_.multiBoxes & bit) == 0;
    int box = 0;
    while ((2 << box) != bit) ++box;
    // The box is set quietly and the change handed on once, as its own
    // click hands it on.
    const bool enabled = s_.boxEventsEnabled;
    s_.boxEventsEnabled = false;
    s_.port.setChecked(kBoxes[box], ticked);
    s_.boxEventsEnabled = enabled;
    judge_.multiBoxChanged(bit, ticked);
}

} // namespace cxb
