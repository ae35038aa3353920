// The analysis dialog's view: the picture found as the question view finds
// it (blanks dropped, blanks only are no picture) and, for an id a bank
// holds twice, the counters of its last record.
#include <gtest/gtest.h>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

class AnalysisLookup : public TrainerTest {
protected:
    // Opens the analysis of question 2 through the review of every question
    // ever answered wrong.
    const AnalysisView* analyse(Bank bank, const std::function<void(Sfile&)>& tweak = {}) {
        bank.records[2].wrongCount = 1;
        start(bank, tweak);
        dir.mkdir("bankdata");
        dir.write("bankdata/p2.png", "png");
        t().review.btnErrorLianXClick();
        t().review.btnQuanBuClick();
        win.forget();
        t().review.lv1SelectItem(0);
        t().review.Button3Click();
        return win.analyses.empty() ? nullptr : &win.analyses[0];
    }
};

TEST_F(AnalysisLookup, PictureNamesAsTheQuestionViewReadsThem) {
    const struct { const char* name; const char* stored; bool shown; bool message; } cases[] = {
        {"empty", "", false, false},
        {"one blank", " ", false, false},
        {"blanks only", "     ", false, false},
        {"plain", "p2.png", true, false},
        {"blank before", " p2.png", true, false},
        {"blanks after", "p2.png   ", true, false},
        {"blank inside", "p2 .png", true, false},
        {"missing file", "p3.png", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bank bank = plainBank(3);
        setPicture(bank.records[2], c.stored);
        const AnalysisView* v = analyse(bank);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(c.shown, v->pictureVisible);
        if (c.shown) {
            EXPECT_EQ(path("bankdata/p2.png"), v->picture);
        }
        EXPECT_EQ(c.message, !win.messages.empty());
    }
}

TEST_F(AnalysisLookup, AnIdHeldTwiceShowsTheCountersOfItsLastRecord) {
    Bank bank = plainBank(4);
    bank.records[4].id = 2; // the id of record 2 once more, at the end
    setText(bank.records[2], "第一条");
    setText(bank.records[4], "第二条");
    bank.records[4].rightCount = 7;
    bank.records[4].wrongCount = 3;
    bank.records[4].answerCount = 10;
    const AnalysisView* v = analyse(bank);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ("本题ID为：2", v->label7);
    // The review may have sorted the buffer: first and last are as it is now.
    std::vector<int> holding;
    for (int i = 1; i <= s().questionCount(); ++i)
        if (s().record(i).id == 2) holding.push_back(i);
    ASSERT_EQ(2u, holding.size());
    const QuestionRecord& first = s().record(holding.front());
    const QuestionRecord& last = s().record(holding.back());
    ASSERT_NE(first.rightCount, last.rightCount);
    EXPECT_EQ(gbk::toUtf8Lossy(readField(first.text)), v->text); // the question itself is the first record's
    EXPECT_EQ(std::to_string(last.rightCount), v->rightCount);
    EXPECT_EQ(std::to_string(last.wrongCount), v->wrongCount);
    EXPECT_EQ(std::to_string(last.answerCount), v->answerCount);
}

} // namespace
