// The keyboard on a multiple-choice question: the letters and the configured
// answer keys tick and untick the boxes, Enter completes the answer, and the
// result is judged as if the boxes and "完成" had been clicked.
#include <gtest/gtest.h>

#include "data/StateFile.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

using Action = KeyRules::Action;

constexpr int vkA = 0x41, vkB = 0x42, vkC = 0x43, vkD = 0x44, vkE = 0x45, vkH = 0x48, vkI = 0x49;
constexpr int vkUp = 0x26, vkDown = 0x28, vkEnter = 0x0D, pad1 = 97, pad4 = 100, pad6 = 102;

TEST(KeyRulesDecide, OnMultipleChoiceTheAnswerKeysTickBoxes) {
    struct Case {
        const char* name;
        int vk;
        AnswerPanel panel;
        Action action;
        int code;
    };
    const Case cases[] = {
        {"A", vkA, AnswerPanel::Multi, Action::ToggleBox, 2},
        {"B", vkB, AnswerPanel::Multi, Action::ToggleBox, 4},
        {"C", vkC, AnswerPanel::Multi, Action::ToggleBox, 8},
        {"D", vkD, AnswerPanel::Multi, Action::ToggleBox, 16},
        {"E", vkE, AnswerPanel::Multi, Action::ToggleBox, 32},
        {"H", vkH, AnswerPanel::Multi, Action::ToggleBox, 256},
        {"I has no box", vkI, AnswerPanel::Multi, Action::None, 0},
        {"keypad 1 is the A key", pad1, AnswerPanel::Multi, Action::ToggleBox, 2},
        {"keypad 4 is the D key", pad4, AnswerPanel::Multi, Action::ToggleBox, 16},
        {"Enter completes", vkEnter, AnswerPanel::Multi, Action::Complete, 0},
        {"arrows still move", vkDown, AnswerPanel::Multi, Action::Next, 0},
        {"up still moves", vkUp, AnswerPanel::Multi, Action::Previous, 0},
        {"keypad 6 still moves", pad6, AnswerPanel::Multi, Action::Next, 0},
        // Elsewhere the letters keep their single-choice codes and Enter and
        // E–H mean nothing.
        {"A on single choice", vkA, AnswerPanel::Single, Action::Answer, 1},
        {"A on true/false", vkA, AnswerPanel::TrueFalse, Action::Answer, 6},
        {"Enter on single choice", vkEnter, AnswerPanel::Single, Action::None, 0},
        {"E on single choice", vkE, AnswerPanel::Single, Action::None, 0},
        {"Enter with no answer panel", vkEnter, AnswerPanel::None, Action::None, 0},
    };
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    for (const auto& c : cases) {
        KeyRules::Decision d = KeyRules::decide(*state, c.vk, c.panel);
        EXPECT_EQ(c.action, d.action) << c.name;
        EXPECT_EQ(c.code, d.code) << c.name;
    }
}

TEST(KeyRulesDecide, ConfiguredKeysComeBeforeTheBoxLetters) {
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    state->keyNext = vkE;      // E moves on rather than ticking box E
    state->keyAnswerB = vkH;   // H is the B key: it ticks box B
    EXPECT_EQ(Action::Next, KeyRules::decide(*state, vkE, AnswerPanel::Multi).action);
    KeyRules::Decision h = KeyRules::decide(*state, vkH, AnswerPanel::Multi);
    EXPECT_EQ(Action::ToggleBox, h.action);
    EXPECT_EQ(4, h.code);
}

class MultiKeys : public TrainerTest {
protected:
    // 1 multiple choice A+C, 2 multiple choice A+B+C, 3 single choice A.
    void SetUp() override {
        Bank bank = plainBank(3);
        bank.records[1].type = kMultipleChoice;
        bank.records[1].answer = 2 | 8;
        bank.records[2].type = kMultipleChoice;
        bank.records[2].answer = 2 | 4 | 8;
        start(bank);
        // The boxes report their changes as real ones do.
        win.onChecked = [this](Ctl c, bool on) { t().judge.multiBoxChanged(bitOf(c), on); };
        t().modes.SunXuClick();
    }
    static int bitOf(Ctl c) { return 2 << (static_cast<int>(c) - static_cast<int>(Ctl::chkA)); }
    void press(int vk) { t().keys.FormKeyUp(vk, true, AnswerPanel::Multi); }
    struct Counters {
        int right, wrong, count;
        bool operator==(const Counters&) const = default;
    };
    Counters counters(int id) {
        const QuestionRecord& r = recordOf(id);
        return {r.rightCount, r.wrongCount, r.answerCount};
    }
};

TEST_F(MultiKeys, ACAndEnterAnswerAnACQuestionRight) {
    press(vkA);
    press(vkC);
    EXPECT_TRUE(win.checked[Ctl::chkA]);
    EXPECT_TRUE(win.checked[Ctl::chkC]);
    EXPECT_EQ(0, entry(1).userAnswer); // right ticks wait for "完成"
    press(vkEnter);
    EXPECT_EQ(2 | 8, entry(1).userAnswer);
    EXPECT_TRUE(entry(1).firstRight);
    EXPECT_EQ((Counters{1, 0, 1}), counters(1));
    EXPECT_TRUE(s().autoNextArmed);
}

TEST_F(MultiKeys, ABCAndEnterAnswerAnABCQuestionRightButACIsWrong) {
    t().nav.DOClick();
    ASSERT_EQ(2, s().current);
    press(vkA);
    press(vkC);
    press(vkEnter);
    EXPECT_EQ(2 | 8, entry(2).userAnswer);
    EXPECT_EQ((Counters{0, 1, 1}), counters(2));

    t().modes.SunXuClick(); // a new list counts afresh
    t().nav.DOClick();
    for (int vk : {vkB, vkA, vkC}) press(vk);
    press(vkEnter);
    EXPECT_EQ(2 | 4 | 8, entry(2).userAnswer);
    EXPECT_EQ((Counters{1, 1, 2}), counters(2));
}

TEST_F(MultiKeys, ASecondPressUnticksAndAWrongTickIsJudgedAtOnce) {
    press(vkB); // wrong option: judged and counted at once in practice
    EXPECT_TRUE(win.checked[Ctl::chkB]);
    EXPECT_EQ(4, entry(1).userAnswer);
    EXPECT_FALSE(entry(1).firstRight);
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    press(vkB); // untick
    EXPECT_FALSE(win.checked[Ctl::chkB]);
    press(vkA);
    press(vkC);
    press(vkEnter);
    EXPECT_EQ(2 | 8, entry(1).userAnswer);
    EXPECT_FALSE(entry(1).firstRight); // the exclamation mark, as with clicks
    EXPECT_EQ((Counters{0, 1, 1}), counters(1)); // counted once only
}

TEST_F(MultiKeys, InTheExamTheKeysStoreTheSetWithoutCounting) {
    s().examDraw = ExamDraw([] { return 77u; });
    s().state->examCount = 3;
    t().modes.KaoShiClick();
    t().nav.tmrKAOSHITimer();
    int multi = 0;
    for (int i = 1; i <= s().listCount; ++i)
        if (entry(i).id == 1) multi = i;
    ASSERT_NE(0, multi);
    while (s().current != multi) t().nav.DOClick();
    press(vkA);
    press(vkB);
    press(vkC);
    press(vkEnter);
    EXPECT_EQ(2 | 4 | 8, entry(multi).userAnswer);
    EXPECT_EQ((Counters{0, 0, 0}), counters(1));
}

TEST_F(MultiKeys, EnterOnAnEmptyListDoesNothing) {
    s().state->beginnerCount = 0;
    t().modes.chujiClick();
    EXPECT_FALSE(t().keys.FormKeyUp(vkEnter, true, AnswerPanel::Multi));
    EXPECT_FALSE(t().keys.FormKeyUp(vkA, true, AnswerPanel::Multi));
    EXPECT_EQ(0, s().list[1].userAnswer);
}

} // namespace
