// The commands that build the question list: captions, the order the bank
// sorts leave (ties included), the counts, the rebuild and the pass over the
// unsolved entries.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

const std::string kVersion = "驰学宝10.1";

struct ModeCase {
    const char* name;
    void (PracticeModes::*command)();
    std::string caption;
    int modeCode;
    int displayMode;
    int background;
};

class PracticeList : public TrainerTest {};

TEST_F(PracticeList, EachCommandSetsCaptionModeDisplayAndBackground) {
    const ModeCase cases[] = {
        {"sequential", &PracticeModes::SunXuClick, "顺序练习" + std::string(8, ' ') + kVersion, 0, 2, 1},
        {"beginner", &PracticeModes::chujiClick, "初步练习" + std::string(5, ' ') + kVersion, 1, 2, 2},
        {"hard", &PracticeModes::LianXKSClick, "100题考试练习" + std::string(5, ' ') + kVersion, 2, 2, 3},
        {"exam", &PracticeModes::KaoShiClick, "模拟真实考试练习" + std::string(4, ' ') + kVersion, 3, 1, 4},
    };
    start(plainBank(30));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The learner unticks "自动进入下一题" and leaves a score behind.
        t().nav.setAutoNext(false);
        win.checked[Ctl::CheckBox2] = false;
        s().listAnswered = 7;
        s().listRight = 5;
        win.visible[Ctl::pnl1] = win.visible[Ctl::souPNL] = win.visible[Ctl::Panel2] = true;

        (t().modes.*c.command)();

        EXPECT_EQ(c.caption, win.caption);
        EXPECT_EQ(c.modeCode, s().modeCode);
        EXPECT_EQ(c.displayMode, s().displayMode);
        EXPECT_EQ(c.background, win.background);
        EXPECT_EQ(1, s().current);
        EXPECT_TRUE(win.isVisible(Ctl::pnl2));
        EXPECT_FALSE(win.isVisible(Ctl::pnl1));
        EXPECT_FALSE(win.isVisible(Ctl::souPNL));
        EXPECT_FALSE(win.isVisible(Ctl::Panel2));
        EXPECT_EQ(0, s().listAnswered);
        const bool exam = c.modeCode == 3;
        // The exam leaves the learner's choice and the right answers alone.
        EXPECT_EQ(!exam, s().checkBox2);
        if (!exam) {
            EXPECT_TRUE(win.checked[Ctl::CheckBox2]);
        }
        EXPECT_EQ(exam ? 5 : 0, s().listRight);
        // The exam shows its clock and hand-in button; the others stop them.
        EXPECT_EQ(exam, win.isVisible(Ctl::lbl1));
        EXPECT_EQ(exam, win.isVisible(Ctl::JIAOJUAN));
        EXPECT_EQ(exam, win.running(Tmr::tmruptime));
        if (exam) {
            EXPECT_FALSE(win.isVisible(Ctl::Label5));
            EXPECT_FALSE(win.isVisible(Ctl::Label6));
        }
        // The loading note: sequential practice clears it at once.
        if (c.modeCode == 0) {
            EXPECT_EQ("", win.text[Ctl::lbljiazai]);
            EXPECT_FALSE(win.running(Tmr::tmrjiange));
        } else {
            EXPECT_EQ("题库加载中……", win.text[Ctl::lbljiazai]);
            EXPECT_EQ(1000, win.timers[Tmr::tmrjiange]);
            t().tmrjiangeTimer();
            EXPECT_EQ("", win.text[Ctl::lbljiazai]);
            EXPECT_FALSE(win.running(Tmr::tmrjiange));
        }
    }
}

TEST_F(PracticeList, BeginnerOnFreshBankKeepsTheFileOrder) {
    Bank bank = plainBank(15);
    const int ids[] = {40, 12, 77, 3, 58, 21, 9, 66, 30, 14, 2, 90, 45, 5, 61};
    for (int i = 1; i <= 15; ++i) bank.records[i].id = ids[i - 1];
    start(bank); // the window starts with beginner practice
    EXPECT_EQ(1, s().modeCode);
    EXPECT_EQ((std::vector<int>{40, 12, 77, 3, 58, 21, 9, 66, 30, 14}), listIds());
    EXPECT_EQ(10, s().listCount);
}

TEST_F(PracticeList, BeginnerTakesTheLeastAnsweredInTheExchangeLoopsTieOrder) {
    Bank bank = plainBank(8);
    const int answered[] = {2, 0, 1, 0, 2, 0, 1, 3};
    for (int i = 1; i <= 8; ++i) {
        bank.records[i].id = 100 + i;
        bank.records[i].answerCount = answered[i - 1];
    }
    start(bank, [](Sfile& st) { st.beginnerCount = 6; });
    EXPECT_EQ((std::vector<int>{102, 104, 106, 103, 107, 105}), listIds());
    // The buffer keeps the sorted order.
    EXPECT_EQ((std::vector<int>{102, 104, 106, 103, 107, 105, 101, 108}), bankIds());
}

TEST_F(PracticeList, HardListPutsTheThreeEverWrongFirstThenTheTiesAsTheLoopLeavesThem) {
    Bank bank = plainBank(12);
    for (int i = 1; i <= 12; ++i) bank.records[i].id = 100 + i;
    bank.records[4].wrongCount = 1;
    bank.records[7].wrongCount = 5;
    bank.records[9].wrongCount = 3;
    start(bank);
    t().modes.LianXKSClick();
    ASSERT_EQ(10, s().listCount);
    EXPECT_EQ((std::vector<int>{107, 109, 104, 101, 105, 106, 102, 108, 103, 110}), listIds());
    EXPECT_EQ(5, entry(1).wrongCount);
    EXPECT_EQ(0, entry(4).wrongCount);
}

TEST_F(PracticeList, SequentialStartsAtTheSmallestIdAndListsTheWholeBank) {
    Bank bank = plainBank(5);
    const int ids[] = {30, 10, 20, 5, 25};
    for (int i = 1; i <= 5; ++i) bank.records[i].id = ids[i - 1];
    start(bank);
    t().view.showQuestion(4); // an earlier position is not remembered
    t().modes.SunXuClick();
    EXPECT_EQ(s().bankCount, s().listCount);
    EXPECT_EQ((std::vector<int>{5, 10, 20, 25, 30}), listIds());
    EXPECT_EQ(1, s().current);
    EXPECT_EQ("本题ID：5", win.lastView().label2);
    EXPECT_EQ("1/5", win.lastView().label3);
}

TEST_F(PracticeList, EntriesCopyTheRecordAndStartUnanswered) {
    Bank bank = plainBank(3);
    QuestionRecord& r = bank.records[2];
    r.type = kMultipleChoice;
    r.answer = 2 | 8;
    r.extra = 4242;
    r.rightCount = 4;
    r.wrongCount = 6;
    r.answerCount = 10;
    setText(r, "多选题：以下哪些做法正确？");
    setPicture(r, "标志.png");
    setExplanation(r, "保持车距，降低车速。");
    start(bank, [](Sfile& st) { st.beginnerCount = 3; });
    t().modes.SunXuClick();
    const ListEntry& e = entry(2);
    EXPECT_EQ(2, e.id);
    EXPECT_EQ(10, e.answer);
    EXPECT_EQ(kMultipleChoice, e.type);
    EXPECT_EQ(4242, e.extra);
    EXPECT_EQ(4, e.rightCount);
    EXPECT_EQ(6, e.wrongCount);
    EXPECT_EQ(10, e.answerCount);
    EXPECT_EQ("多选题：以下哪些做法正确？", e.text);
    EXPECT_EQ("保持车距，降低车速。", e.explanation);
    EXPECT_EQ(0, e.userAnswer);
    EXPECT_FALSE(e.firstRight);
    EXPECT_FALSE(e.counted);
}

TEST_F(PracticeList, CountsAboveTheBankAreLoweredToIt) {
    struct Case {
        const char* name;
        void (PracticeModes::*command)();
    } cases[] = {{"beginner", &PracticeModes::chujiClick},
                 {"hard", &PracticeModes::LianXKSClick},
                 {"exam", &PracticeModes::KaoShiClick}};
    start(plainBank(8), [](Sfile& st) { st.beginnerCount = st.hardCount = st.examCount = 50; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        (t().modes.*c.command)();
        EXPECT_EQ(8, s().listCount);
        std::vector<int> ids = listIds();
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}), ids);
    }
}

TEST_F(PracticeList, RebuildFollowsTheModeCodeAndIgnoresReviewAndBrowser) {
    start(plainBank(20), [](Sfile& st) {
        st.beginnerCount = 4;
        st.hardCount = 6;
        st.examCount = 8;
    });
    const struct {
        int modeCode;
        int listCount;
        int displayMode;
    } cases[] = {{0, 20, 2}, {1, 4, 2}, {2, 6, 2}, {3, 8, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modeCode);
        s().modeCode = c.modeCode;
        s().listCount = 1;
        t().modes.Button2Click();
        EXPECT_EQ(c.modeCode, s().modeCode);
        EXPECT_EQ(c.listCount, s().listCount);
        EXPECT_EQ(c.displayMode, s().displayMode);
    }

    // The review and the bank browser take the window over; the rebuild then
    // builds nothing.
    t().modes.SunXuClick();
    t().review.btnErrorLianXClick();
    std::string caption = win.caption;
    t().modes.Button2Click();
    EXPECT_EQ(4, s().modeCode);
    EXPECT_EQ(caption, win.caption);
    EXPECT_EQ(20, s().listCount);
    t().search.btn2Click();
    t().modes.Button2Click();
    EXPECT_EQ(5, s().modeCode);
    EXPECT_EQ(caption, win.caption);
    EXPECT_FALSE(win.isVisible(Ctl::pnl2));
}

class KeepUnsolved : public TrainerTest {
protected:
    void SetUp() override {
        start(plainBank(8));
        t().modes.SunXuClick();
    }
};

TEST_F(KeepUnsolved, KeepsWrongAndUnansweredEntriesInOrderAndResetsThem) {
    // Entries 2 and 5 wrong, 7 unanswered, the rest right at the first try.
    for (int i : {1, 3, 4, 6, 8}) answerAt(i, kAnswerA);
    answerAt(2, kAnswerB);
    answerAt(5, kAnswerC);
    t().nav.setAutoNext(false);

    ASSERT_TRUE(t().modes.keepUnsolved());
    EXPECT_EQ(3, s().listCount);
    EXPECT_EQ((std::vector<int>{2, 5, 7}), listIds());
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(0, entry(i).userAnswer) << i;
        EXPECT_FALSE(entry(i).firstRight) << i;
    }
    EXPECT_TRUE(entry(1).counted);
    EXPECT_TRUE(entry(2).counted);
    EXPECT_FALSE(entry(3).counted);
    EXPECT_EQ("再次挑战刚刚的错题", win.text[Ctl::lbljiazai]);
    EXPECT_TRUE(s().checkBox2);
    EXPECT_TRUE(win.checked[Ctl::CheckBox2]);
    EXPECT_EQ(PickerCanvas::kPlain, s().picker.style(3));
    EXPECT_EQ(PickerCanvas::kBlank, s().picker.style(4));
}

TEST_F(KeepUnsolved, AnEntryCorrectedAfterAWrongAnswerIsStillUnsolved) {
    for (int i : {1, 2, 4, 5, 6, 7, 8}) answerAt(i, kAnswerA);
    answerAt(6, kAnswerB); // a changed answer keeps the first judgement
    t().view.showQuestion(3);
    t().judge.answerQuestion(kAnswerB);
    t().judge.answerQuestion(kAnswerA);
    ASSERT_TRUE(t().modes.keepUnsolved());
    EXPECT_EQ((std::vector<int>{3}), listIds());
}

TEST_F(KeepUnsolved, AllRightLeavesTheListUntouched) {
    for (int i = 1; i <= 8; ++i) answerAt(i, kAnswerA);
    win.text[Ctl::lbljiazai] = "";
    EXPECT_FALSE(t().modes.keepUnsolved());
    EXPECT_EQ(8, s().listCount);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(i, entry(i).id);
        EXPECT_EQ(kAnswerA, entry(i).userAnswer);
        EXPECT_TRUE(entry(i).firstRight);
    }
    EXPECT_EQ("", win.text[Ctl::lbljiazai]);
}

TEST_F(KeepUnsolved, KeptEntriesDoNotRaiseTheCountersAgain) {
    answerAt(2, kAnswerB); // wrong: counted once
    for (int i : {1, 3, 4, 5, 6, 7, 8}) answerAt(i, kAnswerA);
    ASSERT_TRUE(t().modes.keepUnsolved());
    ASSERT_EQ(1, s().listCount);
    s().current = 1;
    const int answered = s().listAnswered, right = s().listRight;

    t().judge.answerQuestion(kAnswerA);
    EXPECT_EQ(0, recordOf(2).rightCount);
    EXPECT_EQ(1, recordOf(2).wrongCount);
    EXPECT_EQ(1, recordOf(2).answerCount);
    // The pass counts in the running score again, from its new first answer.
    EXPECT_TRUE(entry(1).firstRight);
    EXPECT_EQ(answered + 1, s().listAnswered);
    EXPECT_EQ(right + 1, s().listRight);
}

TEST_F(PracticeList, RetryAfterAnExamPractisesTheUnsolvedAndRebuildsABeginnerList) {
    start(plainBank(12), [](Sfile& st) {
        st.examCount = 5;
        st.beginnerCount = 7;
    });
    t().modes.KaoShiClick();
    answerAt(1, kAnswerA);
    answerAt(2, kAnswerB);
    answerAt(4, kAnswerA);
    const std::vector<int> ids = listIds();
    t().exam.JIAOJUANClick();
    t().modes.btn3Click();
    EXPECT_EQ("初步练习" + std::string(5, ' ') + kVersion, win.caption);
    EXPECT_EQ(1, s().modeCode);
    EXPECT_EQ(2, s().displayMode);
    EXPECT_EQ(1, s().current);
    EXPECT_EQ((std::vector<int>{ids[1], ids[2], ids[4]}), listIds());
    EXPECT_FALSE(win.running(Tmr::tmruptime));
    EXPECT_FALSE(win.isVisible(Ctl::JIAOJUAN));
    EXPECT_TRUE(win.isVisible(Ctl::pnl2));
    EXPECT_FALSE(win.isVisible(Ctl::Panel2));
    t().modes.Button2Click();
    EXPECT_EQ(7, s().listCount);
    EXPECT_EQ("初步练习" + std::string(5, ' ') + kVersion, win.caption);
}

} // namespace
