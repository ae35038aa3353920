// The wrong-question review and the bank browser.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

std::vector<std::string> rowIds(const std::vector<QuestionRow>& rows) {
    std::vector<std::string> ids;
    for (const auto& r : rows) ids.push_back(r.id);
    return ids;
}

class Review : public TrainerTest {
protected:
    // A sequential list of six whose copies carry the wrong counts
    // 0, 2, 0, 5, 2, 1, answered: 1 wrong, 2 right, 3 not at all, 4 wrong,
    // 5 wrong and then corrected, 6 wrong.
    void SetUp() override {
        Bank bank = plainBank(6);
        const int wrong[] = {0, 2, 0, 5, 2, 1};
        for (int i = 1; i <= 6; ++i) bank.records[i].wrongCount = bank.records[i].answerCount = wrong[i - 1];
        start(bank);
        t().modes.SunXuClick();
        answerAt(1, kAnswerB);
        answerAt(2, kAnswerA);
        answerAt(4, kAnswerC);
        answerAt(5, kAnswerB);
        t().judge.answerQuestion(kAnswerA);
        answerAt(6, kAnswerD);
        win.forget();
    }
};

TEST_F(Review, OpeningListsTheWrongAnswersOfThisList) {
    s().examDraw = ExamDraw([] { return 3u; });
    t().review.btnErrorLianXClick();
    EXPECT_EQ(4, s().modeCode);
    EXPECT_EQ("错误集练习" + std::string(4, ' ') + "驰学宝10.1", win.caption);
    EXPECT_TRUE(win.isVisible(Ctl::pnl1));
    for (Ctl c : {Ctl::pnl2, Ctl::Panel2, Ctl::souPNL, Ctl::pnlIE}) EXPECT_FALSE(win.isVisible(c));
    EXPECT_EQ(2, s().errorKind);
    EXPECT_EQ("再次挑战刚才的错题", win.text[Ctl::btn4]);
    EXPECT_EQ((std::vector<std::string>{"4", "6", "1"}), rowIds(win.rows[Ctl::lv1]));
}

TEST_F(Review, OpeningAbandonsARunningExam) {
    t().modes.KaoShiClick();
    ASSERT_TRUE(win.running(Tmr::tmruptime));
    const int history = s().state->historyCount;
    t().review.btnErrorLianXClick();
    EXPECT_FALSE(win.running(Tmr::tmruptime));
    EXPECT_FALSE(win.isVisible(Ctl::lbl1));
    EXPECT_FALSE(win.isVisible(Ctl::JIAOJUAN));
    EXPECT_EQ(history, s().state->historyCount);
}

TEST_F(Review, JustWrongReordersTheListItselfAndShowsTheCountersInMemory) {
    t().review.btnGCerrorClick();
    // Most wrong first (by the copies), ties as the exchange loop leaves them.
    EXPECT_EQ((std::vector<int>{4, 2, 5, 6, 3, 1}), listIds());
    const auto& rows = win.rows[Ctl::lv1];
    ASSERT_EQ((std::vector<std::string>{"4", "6", "1"}), rowIds(rows));
    const QuestionRow& r = rows[0];
    EXPECT_EQ("第4题：遇到这种情况怎么办？", r.text);
    EXPECT_EQ("A", r.answer);
    EXPECT_EQ("0", r.rightCount);
    EXPECT_EQ("6", r.wrongCount); // 5 from the file, 1 from this list
    EXPECT_EQ("6", r.answerCount);
    EXPECT_EQ("1", rows[2].wrongCount);
    // The entries travel whole: the answers stay with their questions.
    EXPECT_EQ(kAnswerC, entry(1).userAnswer);
    EXPECT_EQ(0, entry(5).userAnswer);
    EXPECT_EQ(kAnswerB, entry(6).userAnswer);
}

TEST_F(Review, JustWrongOnAnEmptyListDoesNothing) {
    s().state->beginnerCount = 0;
    t().modes.chujiClick();
    win.text[Ctl::btn4] = "练习";
    t().review.btnGCerrorClick();
    EXPECT_EQ("练习", win.text[Ctl::btn4]);
    EXPECT_EQ(0u, win.rows.count(Ctl::lv1));
    EXPECT_EQ(0, s().errorKind);
}

TEST_F(Review, PractiseJustWrongKeepsTheUnsolvedInTheNewOrder) {
    t().review.btnErrorLianXClick();
    t().review.btn4Click();
    // 4 wrong, 5 wrong at first, 6 wrong, 3 unanswered, 1 wrong; 2 was right.
    EXPECT_EQ((std::vector<int>{4, 5, 6, 3, 1}), listIds());
    EXPECT_EQ(2, s().modeCode);
    EXPECT_EQ(2, s().displayMode);
    EXPECT_EQ(1, s().current);
    EXPECT_TRUE(win.isVisible(Ctl::pnl2));
    EXPECT_FALSE(win.isVisible(Ctl::pnl1));
    EXPECT_EQ("1/5", win.lastView().label3);
    t().modes.Button2Click(); // now deals a hard-question list
    EXPECT_EQ(0u, win.caption.find("100题考试练习"));
}

TEST_F(Review, PractiseJustWrongWithEverythingRightAndAnswered) {
    t().modes.SunXuClick();
    for (int i = 1; i <= 6; ++i) answerAt(i, kAnswerA);
    t().review.btnErrorLianXClick();
    EXPECT_TRUE(win.rows[Ctl::lv1].empty());
    const std::vector<int> before = listIds();
    t().review.btn4Click();
    EXPECT_EQ(std::vector<std::string>{"没发现错题"}, win.messages);
    EXPECT_EQ(before, listIds());
    EXPECT_EQ(4, s().modeCode);
    EXPECT_TRUE(win.isVisible(Ctl::pnl2));
}

TEST_F(Review, PractiseJustWrongWithOnlyUnansweredLeft) {
    t().modes.SunXuClick();
    for (int i : {1, 2, 3, 5}) answerAt(i, kAnswerA);
    t().review.btnErrorLianXClick();
    EXPECT_TRUE(win.rows[Ctl::lv1].empty());
    t().review.btn4Click();
    EXPECT_TRUE(win.messages.empty());
    std::vector<int> ids = listIds();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ((std::vector<int>{4, 6}), ids);
}

TEST_F(Review, EverWrongListsAndPractisesTheBanksWrongQuestions) {
    t().review.btnErrorLianXClick();
    t().review.btnQuanBuClick();
    EXPECT_EQ(1, s().errorKind);
    EXPECT_EQ("再次挑战曾经全部错题", win.text[Ctl::btn4]);
    // In memory: 1 → 1, 2 → 2, 4 → 6, 5 → 3, 6 → 2.
    const auto& rows = win.rows[Ctl::lv1];
    ASSERT_EQ((std::vector<std::string>{"4", "5", "2", "6", "1"}), rowIds(rows));
    EXPECT_EQ("3", rows[1].wrongCount);
    EXPECT_EQ("3", rows[1].answerCount);
    EXPECT_EQ("0", rows[1].rightCount);
    EXPECT_EQ(4, s().record(1).id); // the bank itself is sorted

    t().review.btn4Click();
    // "练习" sorts the bank once more, and the exchange loop moves the tie of
    // 2 and 6 again.
    EXPECT_EQ((std::vector<int>{4, 5, 6, 2, 1}), listIds());
    EXPECT_EQ(2, s().displayMode);
    EXPECT_EQ(1, s().current);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(0, entry(i).userAnswer);
        EXPECT_FALSE(entry(i).counted);
    }
    EXPECT_EQ(6, entry(1).wrongCount);
}

TEST_F(Review, EverWrongWithThreeWrongQuestionsPractisesExactlyThose) {
    Bank bank = plainBank(10);
    bank.records[3].wrongCount = 2;
    bank.records[7].wrongCount = 5;
    bank.records[9].wrongCount = 1;
    start(bank);
    t().review.btnErrorLianXClick();
    t().review.btnQuanBuClick();
    t().review.btn4Click();
    EXPECT_EQ((std::vector<int>{7, 3, 9}), listIds());
}

TEST_F(Review, EverWrongWithNoWrongQuestionKeepsTheList) {
    start(plainBank(5));
    t().modes.SunXuClick();
    t().review.btnErrorLianXClick();
    t().review.btnQuanBuClick();
    EXPECT_TRUE(win.rows[Ctl::lv1].empty());
    win.forget();
    t().review.btn4Click();
    EXPECT_EQ(std::vector<std::string>{"没发现错题"}, win.messages);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), listIds());
    EXPECT_TRUE(win.isVisible(Ctl::pnl2));
}

TEST_F(Review, AnalysisOfTheSelectedRowWithTheCountersInMemory) {
    t().review.btnErrorLianXClick();
    t().review.lv1SelectItem(1); // id 6
    t().review.Button3Click();
    ASSERT_EQ(1u, win.analyses.size());
    const AnalysisView& v = win.analyses[0];
    EXPECT_EQ("本题ID为：6", v.label7);
    EXPECT_EQ("答案:A", v.label8);
    EXPECT_EQ("第6题：遇到这种情况怎么办？", v.text);
    EXPECT_TRUE(v.hasCounters);
    EXPECT_EQ("0", v.rightCount);
    EXPECT_EQ("2", v.wrongCount);
    EXPECT_EQ("2", v.answerCount);
    EXPECT_FALSE(v.pictureVisible);
}

TEST_F(Review, AnalysisStartsAtTheFirstRow) {
    t().review.btnErrorLianXClick();
    t().review.Button3Click();
    ASSERT_EQ(1u, win.analyses.size());
    EXPECT_EQ("本题ID为：4", win.analyses[0].label7);
}

TEST_F(Review, AnalysisWithoutARowDoesNothing) {
    t().modes.SunXuClick();
    t().review.btnErrorLianXClick(); // nothing answered: no rows
    t().review.Button3Click();
    t().review.lv1SelectItem(3);
    t().review.Button3Click();
    EXPECT_TRUE(win.analyses.empty());
    EXPECT_TRUE(win.messages.empty());
}

TEST_F(Review, AnalysisShowsThePicture) {
    Bank bank = plainBank(3);
    setPicture(bank.records[2], "pics\\p2.png");
    bank.records[2].wrongCount = 1;
    for (int extra : {0, 1}) {
        SCOPED_TRACE(extra);
        start(bank, [extra](Sfile& st) { st.extraBank = extra; });
        dir.write(extra ? "pics/p2.png" : "bankdata/pics/p2.png", "png");
        t().review.btnErrorLianXClick();
        t().review.btnQuanBuClick();
        win.analyses.clear();
        t().review.lv1SelectItem(0);
        t().review.Button3Click();
        ASSERT_EQ(1u, win.analyses.size());
        EXPECT_TRUE(win.analyses[0].pictureVisible);
        EXPECT_EQ(path(extra ? "pics/p2.png" : "bankdata/pics/p2.png"), win.analyses[0].picture);
    }
}

class Search : public TrainerTest {
protected:
    void SetUp() override {
        const struct {
            int id;
            const char* text;
            int wrong;
        } questions[] = {{12, "在路口让行", 1},   {5, "限速12公里的路段", 3}, {112, "夜间行驶", 0},
                         {120, "高速公路", 2},     {8, "编号012的标志", 0},    {3, "ABS系统", 4}};
        Bank bank = plainBank(6);
        for (int i = 1; i <= 6; ++i) {
            bank.records[i].id = questions[i - 1].id;
            setText(bank.records[i], questions[i - 1].text);
            bank.records[i].wrongCount = questions[i - 1].wrong;
        }
        bank.records[5].type = kMultipleChoice;
        bank.records[5].answer = 2 | 8;
        bank.records[6].type = kTrueFalse;
        bank.records[6].answer = kAnswerTrue;
        start(bank);
        win.forget();
    }
    std::vector<std::string> find(const std::string& text) {
        t().search.setSearchText(text);
        t().search.souClick();
        return rowIds(win.rows[Ctl::lv2]);
    }
};

TEST_F(Search, ByIdOrTextMostWrongFirst) {
    using V = std::vector<std::string>;
    EXPECT_EQ((V{"3", "5", "120", "12", "8", "112"}), find(""));
    EXPECT_EQ((V{"5", "12", "8"}), find("12"));
    EXPECT_EQ((V{"8"}), find("012")); // by its text only
    EXPECT_EQ((V{}), find(" 12"));
    EXPECT_EQ((V{"5", "120", "12"}), find("路"));
    EXPECT_EQ((V{"3"}), find("ABS"));
    EXPECT_EQ((V{}), find("abs"));
    EXPECT_EQ((V{"112"}), find("112"));
    EXPECT_EQ((V{}), find("1 2"));
}

TEST_F(Search, RowsCarryAnswerTextsAndCounters) {
    find("");
    const auto& rows = win.rows[Ctl::lv2];
    EXPECT_EQ("对", rows[0].answer);
    EXPECT_EQ("ABS系统", rows[0].text);
    EXPECT_EQ("4", rows[0].wrongCount);
    EXPECT_EQ("0", rows[0].rightCount);
    EXPECT_EQ("AC", rows[4].answer);
    EXPECT_EQ("A", rows[1].answer);
}

TEST_F(Search, OpeningTheBrowserSearchesWithTheTextItHolds) {
    t().modes.KaoShiClick();
    t().search.setSearchText("路");
    win.text[Ctl::mmo1] = "旧内容";
    t().search.btn2Click();
    EXPECT_EQ(5, s().modeCode);
    EXPECT_EQ("", win.text[Ctl::mmo1]);
    EXPECT_TRUE(win.isVisible(Ctl::souPNL));
    for (Ctl c : {Ctl::pnl1, Ctl::pnl2, Ctl::Panel2, Ctl::pnlIE}) EXPECT_FALSE(win.isVisible(c));
    EXPECT_EQ((std::vector<std::string>{"5", "120", "12"}), rowIds(win.rows[Ctl::lv2]));
    EXPECT_TRUE(win.running(Tmr::tmruptime)); // the exam clock runs on
}

TEST_F(Search, SelectingARowShowsTheQuestion) {
    find("ABS");
    t().search.lv2SelectItem(0);
    EXPECT_EQ("ABS系统", win.text[Ctl::mmo1]);
    EXPECT_EQ("正确答案是：对", win.text[Ctl::lbl3]);
    EXPECT_FALSE(win.isVisible(Ctl::img1)); // no picture
}

TEST_F(Search, SelectedPictures) {
    const struct {
        const char* name;
        int extraBank;
        const char* file;
        const char* shown;
        const char* message;
    } cases[] = {
        {"pics\\p.png", 0, "bankdata/pics/p.png", "bankdata/pics/p.png", ""},
        {"pics\\p.png", 1, "pics/p.png", "pics/p.png", ""},
        {"p.png", 1, "bankdata/p.png", "bankdata/p.png", ""},
        {"pics\\p.png", 0, "pics/p.png", "", "汗~怎么找不到图片：pics\\p.png"},
        {"标志.png", 0, "", "", "汗~怎么找不到图片：标志.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + std::to_string(c.extraBank));
        Bank bank = plainBank(2);
        setPicture(bank.records[2], c.name);
        start(bank, [&c](Sfile& st) { st.extraBank = c.extraBank; });
        if (*c.file) dir.write(c.file, "png");
        win.image[Ctl::img1] = "before";
        win.forget();
        t().search.setSearchText("");
        t().search.souClick();
        t().search.lv2SelectItem(1);
        EXPECT_TRUE(win.isVisible(Ctl::img1));
        EXPECT_EQ(*c.shown ? path(c.shown) : std::string("before"), win.image[Ctl::img1]);
        if (*c.message) {
            EXPECT_EQ(std::vector<std::string>{c.message}, win.messages);
        } else {
            EXPECT_TRUE(win.messages.empty());
        }
        if (*c.file) std::filesystem::remove(path(c.file));
    }
}

} // namespace
