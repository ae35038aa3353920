#pragma once
#include "engine/Session.h"

namespace cxb {

class AnswerJudge;
class Navigator;

// The main window's keyboard: the letters A–D, the up and down arrows and
// the six configured keys (Windows virtual-key codes).
class KeyRules {
public:
    KeyRules(Session& s, AnswerJudge& judge, Navigator& nav);

    enum class Action { None, Answer, Previous, Next };
    struct Decision {
        Action action = Action::None;
        int code = 0; // answer code for Action::Answer
    };

    // What a released key means. Keys act only while the question panel is
    // shown and no editable text field has the focus.
    static Decision decide(const Sfile& state, int vk, bool trueFalseShown);

    // FormKeyUp: `questionPanelActive` is false while the question panel is
    // hidden or the focus is in an editable text field.
    // Returns whether the key did something.
    bool FormKeyUp(int vk, bool questionPanelActive, bool trueFalseShown);

private:
    Session& s_;
    AnswerJudge& judge_;
    Navigator& nav_;
};

} // namespace cxb
