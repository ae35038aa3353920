#pragma once
#include "engine/Controls.h"
#include "engine/Session.h"

namespace cxb {

class AnswerJudge;
class Navigator;

// The main window's keyboard: the letters A–D, the up and down arrows and
// the six configured keys (Windows virtual-key codes). On a multiple-choice
// question the letters A–H tick and untick the boxes and Enter is "完成".
class KeyRules {
public:
    KeyRules(Session& s, AnswerJudge& judge, Navigator& nav);

    enum class Action { None, Answer, Previous, Next, ToggleBox, Complete };
    struct Decision {
        Action action = Action::None;
        int code = 0; // answer code for Action::Answer, box bit (A = 2 … H = 256) for ToggleBox
    };

    static constexpr int kEnter = 0x0D;

    // What a released key means with the given answer controls on show.
    static Decision decide(const Sfile& state, int vk, AnswerPanel shown);
    // The same with only the true/false panel's visibility known: any other
    // panel counts as the single-choice one.
    static Decision decide(const Sfile& state, int vk, bool trueFalseShown);

    // FormKeyUp: `questionPanelActive` is false while the question panel is
    // hidden or the focus is in an editable text field.
    // Returns whether the key did something.
    bool FormKeyUp(int vk, bool questionPanelActive, AnswerPanel shown);
    bool FormKeyUp(int vk, bool questionPanelActive, bool trueFalseShown);

private:
    // Ticks or unticks one box as a click on it would.
    void toggleBox(int bit);
    Session& s_;
    AnswerJudge& judge_;
    Navigator& nav_;
};

} // namespace cxb
