// The keyboard: the fixed letters and arrows, the six configured keys, the
// order in which they are tested, and when keys are not taken.
#include <gtest/gtest.h>

#include "data/StateFile.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

using Action = KeyRules::Action;

constexpr int vkA = 0x41, vkB = 0x42, vkC = 0x43, vkD = 0x44, vkE = 0x45, vkUp = 0x26, vkDown = 0x28;
constexpr int pad1 = 97, pad2 = 98, pad3 = 99, pad4 = 100, pad6 = 102, pad9 = 105;

struct KeyCase {
    const char* name;
    std::function<void(Sfile&)> keys; // changes to the default keys
    int vk;
    bool trueFalse;
    Action action;
    int code;
};

TEST(KeyRulesDecide, FixedAndConfiguredKeysInTheirOrder) {
    const KeyCase cases[] = {
        {"A", {}, vkA, false, Action::Answer, 1},
        {"A on true/false", {}, vkA, true, Action::Answer, 6},
        {"B", {}, vkB, false, Action::Answer, 2},
        {"B on true/false", {}, vkB, true, Action::Answer, 5},
        {"C", {}, vkC, false, Action::Answer, 3},
        {"C on true/false", {}, vkC, true, Action::Answer, 3},
        {"D", {}, vkD, true, Action::Answer, 4},
        {"keypad 1", {}, pad1, false, Action::Answer, 1},
        {"keypad 1 on true/false", {}, pad1, true, Action::Answer, 6},
        {"keypad 2 on true/false", {}, pad2, true, Action::Answer, 5},
        {"keypad 3", {}, pad3, false, Action::Answer, 3},
        {"keypad 4", {}, pad4, false, Action::Answer, 4},
        {"up", {}, vkUp, false, Action::Previous, 0},
        {"keypad 9", {}, pad9, false, Action::Previous, 0},
        {"down", {}, vkDown, false, Action::Next, 0},
        {"keypad 6", {}, pad6, false, Action::Next, 0},
        {"E", {}, vkE, false, Action::None, 0},
        {"keypad 5", {}, 101, false, Action::None, 0},
        // The letter tests come first: a configured key cannot take a letter away.
        {"next set to A", [](Sfile& s) { s.keyNext = vkA; }, vkA, false, Action::Answer, 1},
        {"previous set to B", [](Sfile& s) { s.keyPrevious = vkB; }, vkB, true, Action::Answer, 5},
        {"C set to A", [](Sfile& s) { s.keyAnswerC = vkA; }, vkA, false, Action::Answer, 1},
        // Previous is tested before next.
        {"previous set to down", [](Sfile& s) { s.keyPrevious = vkDown; }, vkDown, false, Action::Previous, 0},
        {"next set to up", [](Sfile& s) { s.keyNext = vkUp; }, vkUp, false, Action::Previous, 0},
        // A configured key moved elsewhere no longer acts as before.
        {"A moved to F", [](Sfile& s) { s.keyAnswerA = 0x46; }, pad1, false, Action::None, 0},
        {"A moved to F, F", [](Sfile& s) { s.keyAnswerA = 0x46; }, 0x46, true, Action::Answer, 6},
        {"D set to keypad 6", [](Sfile& s) { s.keyAnswerD = pad6; }, pad6, false, Action::Answer, 4},
    };
    for (const auto& c : cases) {
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        if (c.keys) c.keys(*state);
        KeyRules::Decision d = KeyRules::decide(*state, c.vk, c.trueFalse);
        EXPECT_EQ(c.action, d.action) << c.name;
        EXPECT_EQ(c.code, d.code) << c.name;
    }
}

class Keys : public TrainerTest {
protected:
    // 1 single choice (A), 2 true/false (对), 3 single choice.
    void SetUp() override {
        Bank bank = plainBank(3);
        bank.records[2].type = kTrueFalse;
        bank.records[2].answer = kAnswerTrue;
        start(bank, [](Sfile& st) { st.keyNext = vkA; });
        t().modes.SunXuClick();
    }
};

TEST_F(Keys, AnswerTheQuestionOnShowAsIfItsPictureWereClicked) {
    t().keys.FormKeyUp(vkA, true, false); // also the next key: the answer wins
    EXPECT_EQ(kAnswerA, entry(1).userAnswer);
    EXPECT_EQ(1, s().current);
    EXPECT_EQ(1, recordOf(1).rightCount);

    t().keys.FormKeyUp(vkDown, true, false);
    EXPECT_EQ(2, s().current);
    t().keys.FormKeyUp(pad1, true, true);
    EXPECT_EQ(kAnswerTrue, entry(2).userAnswer);
    EXPECT_EQ(1, recordOf(2).rightCount);
    t().keys.FormKeyUp(pad9, true, true);
    EXPECT_EQ(1, s().current);
    t().keys.FormKeyUp(vkUp, true, false);
    EXPECT_EQ(3, s().current);
}

TEST_F(Keys, NothingHappensWhileTheQuestionPanelIsNotActive) {
    for (int vk : {vkA, vkB, pad1, vkUp, vkDown, pad6, pad9}) t().keys.FormKeyUp(vk, false, false);
    EXPECT_EQ(0, entry(1).userAnswer);
    EXPECT_EQ(1, s().current);
    EXPECT_EQ(0, recordOf(1).answerCount);
}

TEST_F(Keys, AnEmptyListIgnoresEveryKey) {
    s().state->beginnerCount = 0;
    t().modes.chujiClick();
    for (int vk : {vkA, vkB, vkC, vkD, vkUp, vkDown, pad1, pad6, pad9}) t().keys.FormKeyUp(vk, true, false);
    EXPECT_EQ(0, s().listCount);
    EXPECT_EQ(0, s().list[1].userAnswer);
    for (int id = 1; id <= 3; ++id) EXPECT_EQ(0, recordOf(id).answerCount);
}

} // namespace
