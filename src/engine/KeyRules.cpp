#include "engine/KeyRules.h"

#include "engine/AnswerJudge.h"
#include "engine/Navigator.h"

namespace cxb {

namespace vk {
constexpr int A = 0x41, B = 0x42, C = 0x43, D = 0x44, Up = 0x26, Down = 0x28;
}

KeyRules::KeyRules(Session& s, AnswerJudge& judge, Navigator& nav) : s_(s), judge_(judge), nav_(nav) {}

KeyRules::Decision KeyRules::decide(const Sfile& st, int key, bool trueFalseShown) {
    if (key == vk::A || key == st.keyAnswerA) return {Action::Answer, trueFalseShown ? 6 : 1};
    if (key == vk::B || key == st.keyAnswerB) return {Action::Answer, trueFalseShown ? 5 : 2};
    if (key == vk::C || key == st.keyAnswerC) return {Action::Answer, 3};
    if (key == vk::D || key == st.keyAnswerD) return {Action::Answer, 4};
    if (key == vk::Up || key == st.keyPrevious) return {Action::Previous, 0};
    if (key == vk::Down || key == st.keyNext) return {Action::Next, 0};
    return {};
}

bool KeyRules::FormKeyUp(int key, bool questionPanelActive, bool trueFalseShown) {
    if (!questionPanelActive) return false;
    Decision d = decide(*s_.state, key, trueFalseShown);
    switch (d.action) {
    case Action::Answer: judge_.answerQuestion(d.code); break;
    case Action::Previous: nav_.UPClick(); break;
    case Action::Next: nav_.DOClick(); break;
    case Action::None: return false;
    }
    return true;
}

} // namespace cxb
