// Moving through the list: previous and next with their wrap and end
// rules, the automatic move, and the question picker.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

const std::string kRetry = "再次挑战刚刚的错题";
const std::string kAllSolved = "错题被干掉完了，系统将从新挑选题";

class Navigation : public TrainerTest {
protected:
    void SetUp() override {
        start(plainBank(30), [](Sfile& st) {
            st.beginnerCount = 5;
            st.hardCount = 4;
            st.examCount = 6;
        });
        win.forget();
    }
    void answerAllRight() {
        for (int i = 1; i <= s().listCount; ++i) answerAt(i, entry(i).answer);
    }
};

TEST_F(Navigation, PreviousAndNextWrapAround) {
    ASSERT_EQ(5, s().listCount);
    t().nav.UPClick();
    EXPECT_EQ(5, s().current);
    EXPECT_EQ("5/5", win.lastView().label3);
    t().nav.UPClick();
    EXPECT_EQ(4, s().current);
    t().nav.DOClick();
    EXPECT_EQ(5, s().current);

    t().modes.KaoShiClick();
    t().view.showQuestion(6);
    t().nav.DOClick(); // the exam wraps, even with unanswered questions
    EXPECT_EQ(1, s().current);
    EXPECT_EQ(6, s().listCount);
    EXPECT_TRUE(win.messages.empty());
    EXPECT_EQ(1, s().displayMode);
}

TEST_F(Navigation, EndOfAPracticeListWithUnsolvedEntriesOffersThemAgain) {
    answerAt(1, kAnswerA);
    answerAt(3, kAnswerB);
    t().view.showQuestion(5);
    t().nav.DOClick();
    EXPECT_EQ(std::vector<std::string>{kRetry}, win.messages);
    EXPECT_EQ(4, s().listCount); // 2, 4 and 5 unanswered, 3 wrong
    EXPECT_EQ(1, s().current);
    EXPECT_EQ(2, s().displayMode);
    EXPECT_EQ(1, s().modeCode);
    EXPECT_EQ("1/4", win.lastView().label3);
}

TEST_F(Navigation, EndOfAListAllRightBuildsANewListOfTheSameMode) {
    const struct {
        int modeCode;
        void (PracticeModes::*command)();
        int listCount;
        const char* title;
    } cases[] = {{0, &PracticeModes::SunXuClick, 30, "顺序练习"},
                 {1, &PracticeModes::chujiClick, 5, "初步练习"},
                 {2, &PracticeModes::LianXKSClick, 4, "100题考试练习"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        (t().modes.*c.command)();
        answerAllRight();
        win.forget();
        win.caption.clear();
        t().view.showQuestion(s().listCount);
        t().nav.DOClick();
        EXPECT_EQ(std::vector<std::string>{kAllSolved}, win.messages);
        EXPECT_EQ(c.modeCode, s().modeCode);
        EXPECT_EQ(c.listCount, s().listCount);
        EXPECT_EQ(0u, win.caption.find(c.title));
        EXPECT_EQ(1, s().current);
        for (int i = 1; i <= s().listCount; ++i) ASSERT_EQ(0, entry(i).userAnswer);
    }
}

TEST_F(Navigation, EndOfTheReviewsListAllRightBuildsNothing) {
    for (int i = 1; i <= 3; ++i) s().record(i).wrongCount = i;
    t().review.btnErrorLianXClick();
    t().review.btnQuanBuClick();
    t().review.btn4Click();
    ASSERT_EQ(3, s().listCount);
    answerAllRight();
    win.forget();
    t().view.showQuestion(3);
    t().nav.DOClick();
    EXPECT_EQ(std::vector<std::string>{kAllSolved}, win.messages);
    EXPECT_EQ(3, s().current);
    EXPECT_EQ(3, s().listCount);
    EXPECT_EQ(4, s().modeCode);
}

TEST_F(Navigation, AutomaticMoveAfterARightAnswer) {
    t().judge.answerQuestion(kAnswerA);
    ASSERT_TRUE(win.running(Tmr::TimerNext));
    t().nav.TimerNextTimer();
    EXPECT_EQ(2, s().current);
    EXPECT_FALSE(s().autoNextArmed);
    EXPECT_FALSE(win.running(Tmr::TimerNext));
    t().nav.TimerNextTimer(); // a tick after the move does nothing
    EXPECT_EQ(2, s().current);
}

TEST_F(Navigation, AWrongPracticeAnswerStaysOnScreen) {
    t().judge.answerQuestion(kAnswerB);
    t().nav.TimerNextTimer();
    EXPECT_EQ(1, s().current);
}

TEST_F(Navigation, AnArmedMoveWaitsForAutoNextAndGoesAtTheNextTick) {
    t().judge.answerQuestion(kAnswerA);
    t().nav.setAutoNext(false);
    t().nav.TimerNextTimer();
    t().nav.TimerNextTimer();
    EXPECT_EQ(1, s().current);
    EXPECT_TRUE(s().autoNextArmed);
    EXPECT_TRUE(win.running(Tmr::TimerNext));
    t().nav.setAutoNext(true);
    t().nav.TimerNextTimer();
    EXPECT_EQ(2, s().current);
}

TEST_F(Navigation, DoneArmsTheMoveEvenWithAutoNextOff) {
    Bank bank = plainBank(4);
    bank.records[1].type = kMultipleChoice;
    bank.records[1].answer = 2;
    start(bank);
    t().nav.setAutoNext(false);
    t().judge.multiBoxChanged(2, true);
    t().judge.btnduoxuanClick();
    t().nav.TimerNextTimer();
    EXPECT_EQ(1, s().current);
    t().nav.setAutoNext(true);
    t().nav.TimerNextTimer();
    EXPECT_EQ(2, s().current);
}

TEST_F(Navigation, AnArmedMoveIsNotCancelledByMovingByHand) {
    t().judge.answerQuestion(kAnswerA);
    t().nav.DOClick();
    EXPECT_EQ(2, s().current);
    t().nav.TimerNextTimer();
    EXPECT_EQ(3, s().current);
}

TEST_F(Navigation, AnEmptyListGoesNowhere) {
    s().state->beginnerCount = 0;
    t().modes.chujiClick();
    ASSERT_EQ(0, s().listCount);
    const std::size_t views = win.views.size();
    for (int i = 0; i < 3; ++i) {
        t().nav.DOClick();
        t().nav.UPClick();
        t().nav.TimerNextTimer();
        t().nav.mage1MouseMove(5, 5);
        t().nav.mage1Click();
    }
    EXPECT_EQ(views, win.views.size());
    EXPECT_TRUE(win.messages.empty());
    EXPECT_EQ(0, s().listCount);
    EXPECT_EQ(PickerCanvas::kBlank, s().picker.style(1));
}

TEST_F(Navigation, NoBankAtAllGoesNowhere) {
    start(Bank());
    EXPECT_EQ(0, s().listCount);
    t().modes.SunXuClick();
    t().modes.KaoShiClick();
    t().nav.DOClick();
    t().nav.UPClick();
    t().judge.answerQuestion(kAnswerA);
    t().review.btnGCerrorClick();
    t().search.souClick();
    EXPECT_EQ(0, s().listCount);
    EXPECT_TRUE(win.rows[Ctl::lv2].empty());
    EXPECT_EQ("0/0", win.lastView().label3);
}

TEST(PickerHitTest, CellUnderThePoint) {
    const struct {
        int x, y, cell;
    } cases[] = {{0, 0, 1}, {39, 29, 1}, {40, 0, 2}, {45, 65, 44}, {839, 0, 21}, {0, 30, 22}, {839, 1739, 1218}};
    for (const auto& c : cases) EXPECT_EQ(c.cell, PickerCanvas::hitTest(c.x, c.y)) << c.x << "," << c.y;
}

TEST_F(Navigation, HoverHighlightsACellAndAClickJumpsThere) {
    start(plainBank(60));
    t().modes.SunXuClick();
    t().nav.mage1MouseMove(45, 65);
    EXPECT_EQ(44, s().hoverCell);
    EXPECT_EQ(PickerCanvas::kHover, s().picker.style(44));
    EXPECT_EQ(5000, win.timers[Tmr::tmrmouse]);

    t().nav.mage1MouseMove(85, 65); // the next cell: the old one is plain again
    EXPECT_EQ(45, s().hoverCell);
    EXPECT_EQ(PickerCanvas::kPlain, s().picker.style(44));

    t().nav.tmrmouseTimer();
    EXPECT_EQ(PickerCanvas::kPlain, s().picker.style(45));
    EXPECT_FALSE(win.running(Tmr::tmrmouse));
    EXPECT_EQ(45, s().hoverCell); // kept

    t().nav.mage1MouseMove(0, 90); // cell 64: beyond the list
    EXPECT_EQ(45, s().hoverCell);
    EXPECT_EQ(PickerCanvas::kBlank, s().picker.style(64));

    t().nav.mage1MouseMove(45, 65);
    t().nav.mage1Click();
    EXPECT_EQ(44, s().current);
    EXPECT_EQ("44/60", win.lastView().label3);
    EXPECT_EQ(PickerCanvas::kCurrent, s().picker.style(44));
}

TEST_F(Navigation, AHoveredCellBeyondAShrunkListIsNotJumpedTo) {
    t().nav.mage1MouseMove(165, 0); // cell 5
    ASSERT_EQ(5, s().hoverCell);
    answerAt(1, kAnswerA);
    answerAt(2, kAnswerA);
    answerAt(3, kAnswerB);
    ASSERT_TRUE(t().modes.keepUnsolved()); // 3, 4 and 5: three entries
    ASSERT_EQ(3, s().listCount);
    t().view.showQuestion(2);
    t().nav.mage1Click();
    EXPECT_EQ(2, s().current);
    t().nav.tmrmouseTimer();
    EXPECT_EQ(PickerCanvas::kBlank, s().picker.style(5));
}

TEST_F(Navigation, ThePickersRightMarginHitsByTheCellFormula) {
    start(plainBank(60));
    t().modes.SunXuClick();
    // x 840..859 is column 21 of the formula: the first cell of the next row.
    t().nav.mage1MouseMove(850, 5);
    EXPECT_EQ(22, s().hoverCell);
    t().nav.mage1Click();
    EXPECT_EQ(22, s().current);
    t().nav.mage1MouseMove(859, 35 * 30 + 1); // cell 757: beyond the list, the hover stays
    EXPECT_EQ(22, s().hoverCell);
}

TEST_F(Navigation, HoverRepaintsOnlyTheNumber) {
    using P = PickerCanvas;
    start(plainBank(40), [](Sfile& st) { st.examCount = 30; });
    t().modes.SunXuClick();
    t().view.showQuestion(3);
    t().nav.mage1MouseMove(85, 0); // the current, unanswered cell 3
    CellLook hovered = s().picker.look(3, &entry(3), s().displayMode);
    EXPECT_TRUE(hovered.blue);
    EXPECT_EQ(P::kBlue, hovered.number);
    t().nav.tmrmouseTimer();
    CellLook left = s().picker.look(3, &entry(3), s().displayMode);
    EXPECT_TRUE(left.blue);
    EXPECT_EQ(P::kBlack, left.number);

    // The exam's start display keeps its rectangles under a hovered number.
    s().examDraw = ExamDraw([] { return 5u; });
    t().modes.KaoShiClick();
    std::vector<int> ids = listIds();
    int notDrawn = 1;
    while (std::find(ids.begin(), ids.end(), notDrawn) != ids.end()) ++notDrawn;
    ASSERT_LE(notDrawn, 30);
    int drawnCell = *std::find_if(ids.begin(), ids.end(), [](int id) { return id <= 30; }); // a cell of the list
    auto hover = [&](int k) { t().nav.mage1MouseMove((k - 1) % 21 * 40 + 5, (k - 1) / 21 * 30 + 5); };
    hover(drawnCell);
    hover(notDrawn);
    CellLook drawn = s().picker.look(drawnCell, nullptr, 1); // hovered, then left
    EXPECT_TRUE(drawn.styleRect);
    EXPECT_EQ(P::kGreen, drawn.rectFill);
    EXPECT_EQ(P::kRed, drawn.rectOutline);
    EXPECT_EQ(P::kBlack, drawn.number);
    EXPECT_EQ(P::kButtonFace, drawn.numberBack);
    CellLook bank = s().picker.look(notDrawn, nullptr, 1);
    EXPECT_TRUE(bank.styleRect);
    EXPECT_EQ(P::kGreen, bank.rectOutline);
    EXPECT_EQ(P::kBlue, bank.number);
    t().nav.tmrKAOSHITimer(); // the whole picker again: the rectangles go
    EXPECT_FALSE(s().picker.look(notDrawn, nullptr, 1).styleRect);
}

TEST_F(Navigation, CellLooks) {
    using P = PickerCanvas;
    start(plainBank(40), [](Sfile& st) { st.examCount = 30; });
    t().modes.SunXuClick();
    answerAt(1, kAnswerA);
    answerAt(2, kAnswerB);
    t().view.showQuestion(3);
    t().nav.mage1MouseMove(45, 0); // hover over answered entry 2
    struct Want {
        bool blue, stateRect;
        std::uint32_t fill, outline, number, numberBack;
    };
    auto check = [&](int k, Want w) {
        SCOPED_TRACE(k);
        CellLook l = s().picker.look(k, k <= s().listCount ? &entry(k) : nullptr, s().displayMode);
        EXPECT_EQ(w.blue, l.blue);
        EXPECT_EQ(w.stateRect, l.stateRect);
        if (w.stateRect) {
            EXPECT_EQ(w.fill, l.stateFill);
            EXPECT_EQ(w.outline, l.stateOutline);
        }
        EXPECT_FALSE(l.styleRect);
        EXPECT_EQ(w.number, l.number);
        EXPECT_EQ(w.numberBack, l.numberBack);
    };
    check(1, {false, true, P::kGreen, P::kRed, P::kRed, P::kButtonFace});  // right
    check(2, {false, true, P::kRed, P::kGreen, P::kBlue, P::kButtonFace}); // wrong, hovered
    check(3, {true, false, 0, 0, P::kBlack, P::kButtonFace});               // current, unanswered
    check(4, {false, false, 0, 0, P::kBlack, P::kButtonFace});              // plain
    t().view.showQuestion(1); // current and answered: its state colours over the blue
    CellLook current = s().picker.look(1, &entry(1), 2);
    EXPECT_TRUE(current.blue);
    EXPECT_TRUE(current.stateRect);
    EXPECT_EQ(P::kGreen, current.stateFill);

    // The exam shows an answer without its judgement.
    s().examDraw = ExamDraw([] { return 5u; });
    t().modes.KaoShiClick();
    // Start display: the bank's cells, and the cells of the drawn ids.
    std::vector<int> ids = listIds();
    int notDrawn = 1;
    while (std::find(ids.begin(), ids.end(), notDrawn) != ids.end()) ++notDrawn;
    ASSERT_LE(notDrawn, 40);
    CellLook bank = s().picker.look(notDrawn, nullptr, 1);
    CellLook drawn = s().picker.look(ids[0], nullptr, 1);
    EXPECT_EQ(P::kBlue, bank.number);
    EXPECT_TRUE(bank.styleRect);
    EXPECT_EQ(P::kButtonFace, bank.rectFill);
    EXPECT_EQ(P::kGreen, bank.rectOutline);
    EXPECT_EQ(P::kBlue, drawn.number);
    EXPECT_TRUE(drawn.styleRect);
    EXPECT_EQ(P::kGreen, drawn.rectFill);
    EXPECT_EQ(P::kRed, drawn.rectOutline);
    EXPECT_EQ(P::kGreen, drawn.numberBack);
    t().nav.tmrKAOSHITimer();
    answerAt(2, kAnswerB);
    answerAt(3, kAnswerA);
    t().view.showQuestion(4);
    for (int k : {2, 3}) check(k, {false, true, P::kGreen, P::kRed, P::kGreen, P::kButtonFace});
}

} // namespace
