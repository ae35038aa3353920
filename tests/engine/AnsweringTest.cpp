// Taking answers: the running score, the question counters (once per
// entry), the automatic move it arms, and multiple choice.
#include <gtest/gtest.h>

#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

struct Counters {
    int right, wrong, answered;
    bool operator==(const Counters&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Counters& c) {
    return os << "{right " << c.right << ", wrong " << c.wrong << ", answered " << c.answered << "}";
}

class Answering : public TrainerTest {
protected:
    // 1..4 single choice (answer A), 5 true/false (对), 6 multiple choice A+C.
    void SetUp() override {
        Bank bank = plainBank(8);
        bank.records[5].type = kTrueFalse;
        bank.records[5].answer = kAnswerTrue;
        bank.records[6].type = kMultipleChoice;
        bank.records[6].answer = 2 | 8;
        start(bank, [](Sfile& st) {
            st.pauseMs = 1500;
            st.examCount = 8;
        });
        t().modes.SunXuClick();
        win.forget();
    }
    Counters counters(int id) {
        const QuestionRecord& r = recordOf(id);
        return {r.rightCount, r.wrongCount, r.answerCount};
    }
    void startExam() {
        s().examDraw = ExamDraw([] { return 77u; });
        t().modes.KaoShiClick(); // the whole bank, in id order
        t().nav.tmrKAOSHITimer();
        win.forget();
    }
    void tick(int bit) { t().judge.multiBoxChanged(bit, true); }
    void untick(int bit) { t().judge.multiBoxChanged(bit, false); }
};

TEST_F(Answering, RightFirstAnswerInPractice) {
    t().judge.answerQuestion(kAnswerA);
    EXPECT_EQ(1, s().listAnswered);
    EXPECT_EQ(1, s().listRight);
    EXPECT_EQ((Counters{1, 0, 1}), counters(1));
    EXPECT_EQ(0, entry(1).rightCount); // the entry's copy stays
    EXPECT_TRUE(entry(1).firstRight);
    EXPECT_TRUE(entry(1).counted);
    EXPECT_TRUE(win.isVisible(Ctl::Label5));
    EXPECT_EQ("你的分数是:1", win.text[Ctl::Label5]);
    EXPECT_EQ("正确率为：1/1(100%)", win.text[Ctl::Label6]);
    EXPECT_EQ(1500, win.timers[Tmr::TimerNext]);
    EXPECT_TRUE(s().autoNextArmed);
    EXPECT_EQ(-35, win.scroll);
}

TEST_F(Answering, WrongThenRightCountsOnlyTheFirstAndArmsNothing) {
    t().judge.answerQuestion(kAnswerB);
    t().judge.answerQuestion(kAnswerA);
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    EXPECT_EQ(kAnswerA, entry(1).userAnswer);
    EXPECT_FALSE(entry(1).firstRight);
    EXPECT_EQ(1, s().listAnswered);
    EXPECT_EQ(0, s().listRight);
    EXPECT_EQ("正确率为：0/1(0%)", win.text[Ctl::Label6]);
    EXPECT_FALSE(s().autoNextArmed);
    EXPECT_FALSE(win.running(Tmr::TimerNext));
    EXPECT_EQ(path("bankdata/gantan.png"), win.lastView().image2);
}

TEST_F(Answering, RunningScoreTexts) {
    const struct {
        std::vector<int> answers; // for entries 1, 2, …
        const char* score;
        const char* rate;
    } cases[] = {
        {{kAnswerA, kAnswerB, kAnswerC}, "你的分数是:1", "正确率为：1/3(33%)"},
        {{kAnswerA, kAnswerA, kAnswerD}, "你的分数是:2", "正确率为：2/3(66%)"},
        {{kAnswerB}, "你的分数是:0", "正确率为：0/1(0%)"},
        {{kAnswerA, kAnswerA, kAnswerA, kAnswerB, kAnswerTrue}, "你的分数是:4", "正确率为：4/5(80%)"},
    };
    for (const auto& c : cases) {
        t().modes.SunXuClick();
        for (std::size_t i = 0; i < c.answers.size(); ++i) answerAt(static_cast<int>(i) + 1, c.answers[i]);
        EXPECT_EQ(c.score, win.text[Ctl::Label5]);
        EXPECT_EQ(c.rate, win.text[Ctl::Label6]);
    }
}

TEST_F(Answering, ScrollsThePickerRowOfTheAnsweredEntryNearTheTop) {
    Bank bank = plainBank(100);
    start(bank);
    t().modes.SunXuClick();
    const struct {
        int position, scroll;
    } cases[] = {{1, -35}, {21, -35}, {22, -5}, {44, 25}, {100, 85}};
    for (const auto& c : cases) {
        answerAt(c.position, kAnswerA);
        EXPECT_EQ(c.scroll, win.scroll) << c.position;
    }
}

TEST_F(Answering, ExamCountsEveryFirstAnswerAndArmsTheMoveRightOrWrong) {
    startExam();
    ASSERT_EQ(1, entry(1).id);
    t().judge.answerQuestion(kAnswerC); // wrong
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    EXPECT_TRUE(s().autoNextArmed);
    EXPECT_TRUE(win.running(Tmr::TimerNext));
    EXPECT_FALSE(win.isVisible(Ctl::Label5));
    EXPECT_FALSE(win.isVisible(Ctl::Label6));

    s().autoNextArmed = false;
    win.stopTimer(Tmr::TimerNext);
    t().judge.answerQuestion(kAnswerA); // replaced, not counted, not armed
    EXPECT_EQ(kAnswerA, entry(1).userAnswer);
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    EXPECT_FALSE(s().autoNextArmed);

    answerAt(2, kAnswerA);
    EXPECT_EQ((Counters{1, 0, 1}), counters(2));
    EXPECT_TRUE(s().autoNextArmed);
}

TEST_F(Answering, WithoutAutoNextNothingIsArmed) {
    t().nav.setAutoNext(false);
    t().judge.answerQuestion(kAnswerA);
    EXPECT_FALSE(s().autoNextArmed);
    EXPECT_FALSE(win.running(Tmr::TimerNext));
}

TEST_F(Answering, AnyCodeIsStoredAndJudgedWrong) {
    t().judge.answerQuestion(7);
    EXPECT_EQ(7, entry(1).userAnswer);
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    EXPECT_EQ("你打错了！\r\n你的答案:\r\n正确答案：A", win.lastView().label4);
}

TEST_F(Answering, EveryRecordWithTheAnsweredIdIsCounted) {
    Bank bank = plainBank(5);
    bank.records[4].id = 2; // the same id twice
    start(bank);
    t().modes.SunXuClick();
    ASSERT_EQ(2, entry(2).id);
    answerAt(2, kAnswerB);
    int records = 0;
    for (int i = 1; i <= 5; ++i) {
        if (s().record(i).id != 2) continue;
        ++records;
        EXPECT_EQ(1, s().record(i).wrongCount);
        EXPECT_EQ(1, s().record(i).answerCount);
    }
    EXPECT_EQ(2, records);
}

TEST_F(Answering, EachEntryCountsOnceAlsoWhenOfferedAgain) {
    // Sequential list of 8: answer all, entry 3 wrong; the end of the list
    // offers entry 3 again.
    // Entry 6 is multiple choice and stays unanswered.
    for (int i : {1, 2, 4, 7, 8}) answerAt(i, kAnswerA);
    answerAt(3, kAnswerB);
    answerAt(5, kAnswerTrue);
    const Counters before3 = counters(3);
    t().view.showQuestion(8);
    t().nav.DOClick();
    ASSERT_EQ((std::vector<int>{3, 6}), listIds());
    answerAt(1, kAnswerA);
    answerAt(1, kAnswerC);
    EXPECT_EQ(before3, counters(3));
    // The multiple-choice entry was never counted: now it is, once.
    t().view.showQuestion(2);
    tick(2);
    tick(8);
    t().judge.btnduoxuanClick();
    t().judge.btnduoxuanClick();
    EXPECT_EQ((Counters{1, 0, 1}), counters(6));
}

TEST_F(Answering, MultipleChoiceWrongTickCountsAtOnceRightTickWaits) {
    t().view.showQuestion(6);
    win.forget();
    tick(2); // A: part of the answer, nothing happens
    EXPECT_EQ(0, entry(6).userAnswer);
    EXPECT_EQ((Counters{0, 0, 0}), counters(6));
    EXPECT_TRUE(win.views.empty());

    tick(4); // B: wrong, judged and counted at once
    EXPECT_EQ(2 | 4, entry(6).userAnswer);
    EXPECT_FALSE(entry(6).firstRight);
    EXPECT_EQ((Counters{0, 1, 1}), counters(6));
    EXPECT_EQ("你打错了！\r\n你的答案:AB\r\n正确答案：AC", win.lastView().label4);
    EXPECT_FALSE(s().autoNextArmed);

    untick(4);
    tick(8);
    t().judge.btnduoxuanClick();
    EXPECT_EQ(10, entry(6).userAnswer);
    EXPECT_EQ((Counters{0, 1, 1}), counters(6));
    EXPECT_EQ("你的答案:AC答对了\r\n但是我发现你第一次没答对，所以只能给你个感叹号", win.lastView().label4);
    EXPECT_EQ(path("bankdata/gantan.png"), win.lastView().image2);
    // "完成" arms the move, right or wrong.
    EXPECT_TRUE(s().autoNextArmed);
    EXPECT_EQ(1500, win.timers[Tmr::TimerNext]);
    // Multiple choice stays out of the running score.
    EXPECT_EQ(0, s().listAnswered);
}

TEST_F(Answering, MultipleChoiceRightThenAWrongTickTurnsItWrongWithoutCountingAgain) {
    t().view.showQuestion(6);
    tick(2);
    tick(8);
    t().judge.btnduoxuanClick();
    EXPECT_EQ((Counters{1, 0, 1}), counters(6));
    EXPECT_TRUE(entry(6).firstRight);
    EXPECT_EQ("你的答案:AC答对了", win.lastView().label4);
    tick(16);
    EXPECT_EQ(2 | 8 | 16, entry(6).userAnswer);
    EXPECT_FALSE(entry(6).firstRight);
    EXPECT_EQ((Counters{1, 0, 1}), counters(6));
    // So it is offered again at the end of the list.
    for (int i : {1, 2, 3, 4, 7, 8}) answerAt(i, kAnswerA);
    answerAt(5, kAnswerTrue);
    ASSERT_TRUE(t().modes.keepUnsolved());
    EXPECT_EQ((std::vector<int>{6}), listIds());
}

TEST_F(Answering, MultipleChoiceInTheExamIsStoredWithoutCounting) {
    startExam();
    t().view.showQuestion(6);
    tick(4); // wrong, but the exam does not judge
    EXPECT_EQ(0, entry(6).userAnswer);
    tick(8);
    t().judge.btnduoxuanClick();
    EXPECT_EQ(4 | 8, entry(6).userAnswer);
    EXPECT_FALSE(entry(6).counted);
    EXPECT_EQ((Counters{0, 0, 0}), counters(6));
    EXPECT_EQ("你的答案:BC", win.lastView().label4);
    EXPECT_TRUE(s().autoNextArmed);
}

TEST_F(Answering, BoxesSetByTheProgramAreNotAnswers) {
    t().view.showQuestion(6);
    s().boxEventsEnabled = false;
    tick(4);
    EXPECT_EQ(0, entry(6).userAnswer);
    EXPECT_EQ((Counters{0, 0, 0}), counters(6));
}

TEST_F(Answering, BoxesTheProgramTicksWhenShowingAnEntryAreNotTakenForClicks) {
    // The boxes report every change, as the window's check boxes do.
    const Ctl boxes[] = {Ctl::chkA, Ctl::chkB, Ctl::chkC, Ctl::chkD, Ctl::chkE, Ctl::chkF, Ctl::chkG, Ctl::chkH};
    win.onChecked = [this, &boxes](Ctl c, bool on) {
        for (int b = 0; b < 8; ++b)
            if (boxes[b] == c) t().judge.multiBoxChanged(2 << b, on);
    };
    auto click = [this, &boxes](int b) { win.setChecked(boxes[b], !win.checked[boxes[b]]); };
    Bank bank = plainBank(3);
    for (int i = 1; i <= 3; ++i) {
        bank.records[i].type = kMultipleChoice;
        bank.records[i].answer = 2 | 8;
    }
    start(bank);
    click(1); // B: wrong, counted at once
    ASSERT_EQ(4, entry(1).userAnswer);
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    t().nav.DOClick(); // the boxes are cleared for entry 2
    for (Ctl box : boxes) EXPECT_FALSE(win.checked[box]);
    EXPECT_EQ(0, entry(2).userAnswer);
    click(0);
    click(2);
    t().judge.btnduoxuanClick();
    EXPECT_EQ((Counters{1, 0, 1}), counters(2));
    t().nav.UPClick(); // entry 1's wrong B is ticked again, by the program
    EXPECT_TRUE(win.checked[Ctl::chkB]);
    EXPECT_FALSE(win.checked[Ctl::chkA]);
    t().nav.DOClick();
    EXPECT_TRUE(win.checked[Ctl::chkA]);
    EXPECT_TRUE(win.checked[Ctl::chkC]);
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    EXPECT_EQ((Counters{1, 0, 1}), counters(2));
    EXPECT_EQ(4, entry(1).userAnswer);
    EXPECT_EQ(10, entry(2).userAnswer);
    EXPECT_TRUE(entry(2).firstRight);
    // The learner goes on from the boxes as shown: "完成" stores A+C.
    t().nav.UPClick();
    click(1);
    click(0);
    click(2);
    t().judge.btnduoxuanClick();
    EXPECT_EQ(10, entry(1).userAnswer);
}

TEST_F(Answering, AnEmptyListTakesNoAnswer) {
    // Entries of the earlier list stay in the array beyond the new list.
    t().judge.answerQuestion(kAnswerB);
    s().state->beginnerCount = 0;
    t().modes.chujiClick();
    ASSERT_EQ(0, s().listCount);
    t().judge.answerQuestion(kAnswerA);
    tick(2);
    tick(4);
    t().judge.btnduoxuanClick();
    EXPECT_EQ(kAnswerB, s().list[1].userAnswer);
    EXPECT_EQ((Counters{0, 1, 1}), counters(1));
    for (int id = 2; id <= 8; ++id) EXPECT_EQ((Counters{0, 0, 0}), counters(id)) << id;
    EXPECT_EQ(0, s().listAnswered);
    EXPECT_FALSE(s().autoNextArmed);
}

} // namespace
