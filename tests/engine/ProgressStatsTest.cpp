// The figures of the progress views: the score trend of the recorded papers
// and the state of the bank's questions.
#include <gtest/gtest.h>

#include "ExamFixture.h"
#include "data/StateFile.h"
#include "engine/ProgressStats.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

struct Paper {
    std::string tag; // GBK, as stored
    int score;
    int items;
    std::string takenAt = "2012年05月06日13点05分22秒";
};

// A state record of the car bank (or of `setup`'s bank) holding `papers`.
std::unique_ptr<Sfile> stateWith(const std::vector<Paper>& papers, const std::function<void(Sfile&)>& setup = {}) {
    auto st = StateFile::newRecord();
    StateFile::resetState(*st);
    if (setup) setup(*st);
    int slot = 0;
    for (const Paper& p : papers) {
        HistoryEntry& e = st->history[++slot];
        writeField(e.takenAt, gbkOf(p.takenAt));
        writeField(e.bankTag, p.tag);
        e.score = p.score;
        e.itemCount = p.items;
    }
    st->historyCount = slot;
    return st;
}

std::vector<int> entriesOf(const ScoreTrend& t) {
    std::vector<int> v;
    for (const PaperPoint& p : t.papers) v.push_back(p.entry);
    return v;
}

} // namespace

TEST(ScoreTrend, SeriesOfTheLoadedBankOnly) {
    const std::string longPath = "extra\\a rather long folder name\\my own bank.tk";
    auto extra = [&](Sfile& s) {
        s.bankChoice = 4;
        writeField(s.bankPath, longPath);
    };
    struct Case {
        const char* what;
        std::vector<Paper> papers;
        std::function<void(Sfile&)> setup;
        std::vector<int> entries;
        std::vector<double> percents;
        std::vector<bool> passed;
    } cases[] = {
        {"no paper", {}, {}, {}, {}, {}},
        {"papers of other banks left out",
         {{"TKxiaoche", 95, 100}, {"TKkeche", 40, 100}, {"TKxiaoche", 45, 50}, {"TKhuoche", 100, 100}},
         {},
         {1, 3},
         {95, 90},
         {true, true}},
        {"the bus bank sees its own papers",
         {{"TKxiaoche", 95, 100}, {"TKkeche", 40, 100}},
         [](Sfile& s) { s.bankChoice = 2; },
         {2},
         {40},
         {false}},
        {"papers of different sizes, judged against 90 % exactly",
         {{"TKxiaoche", 89, 100}, {"TKxiaoche", 179, 199}, {"TKxiaoche", 180, 199}, {"TKxiaoche", 9, 10}},
         {},
         {1, 2, 3, 4},
         {89, 100.0 * 179 / 199, 100.0 * 180 / 199, 90},
         {false, false, true, true}},
        {"a paper of no question is left out, scores outside the paper are clamped",
         {{"TKxiaoche", 0, 0}, {"TKxiaoche", -4, 20}, {"TKxiaoche", 250, 200}, {"TKxiaoche", 5, -3}},
         {},
         {2, 3},
         {0, 100},
         {false, true}},
        {"an extra bank: the tag as it fits the entry",
         {{ExamSession::storedBankTag(longPath), 18, 20}, {"TKxiaoche", 20, 20}, {"my own bank.tk", 20, 20}},
         extra,
         {1},
         {90},
         {true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto st = stateWith(c.papers, c.setup);
        ScoreTrend t = ProgressStats::scoreTrend(*st);
        EXPECT_EQ(entriesOf(t), c.entries);
        ASSERT_EQ(t.papers.size(), c.percents.size());
        for (std::size_t i = 0; i < t.papers.size(); ++i) {
            EXPECT_EQ(t.papers[i].order, static_cast<int>(i) + 1);
            EXPECT_DOUBLE_EQ(t.papers[i].percent, c.percents[i]) << i;
            EXPECT_EQ(t.papers[i].passed, c.passed[i]) << i;
        }
        EXPECT_EQ(t.empty(), c.entries.empty());
    }
}

TEST(ScoreTrend, RunningAverageReadinessAndHoverText) {
    std::vector<Paper> papers;
    for (int score : {80, 90, 100, 70, 60, 100}) papers.push_back({"TKxiaoche", score, 100});
    papers.push_back({"TKkeche", 0, 100}); // another bank's paper in between changes nothing
    papers.push_back({"TKxiaoche", 46, 50, "2012年05月07日08点00分01秒"});
    auto st = stateWith(papers);
    ScoreTrend t = ProgressStats::scoreTrend(*st);
    ASSERT_EQ(t.papers.size(), 7u);
    std::vector<double> averages;
    for (const PaperPoint& p : t.papers) averages.push_back(p.recentAverage);
    const std::vector<double> expected{80, 85, 90, 85, 80, 84, (100 + 70 + 60 + 100 + 92) / 5.0};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(averages[i], expected[i], 1e-9) << i;
    EXPECT_NEAR(t.lastAverage, 84.4, 1e-9);
    EXPECT_EQ(t.averageCount, 5);
    EXPECT_EQ(t.averageText, "最近 5 次平均 84.4 分");
    EXPECT_EQ(t.recentCount, 7);
    EXPECT_EQ(t.recentPassed, 4);
    EXPECT_EQ(t.readiness, "最近 7 次中有 4 次达到 90 分，离稳定及格不远了，再巩固一下。");
    EXPECT_EQ(t.papers.back().entry, 8);
    EXPECT_EQ(t.papers.back().tip, "第 7 次  2012年05月07日08点00分01秒\n答对 46 题，共 50 题：92 分");
    EXPECT_EQ(t.papers[1].tip, "第 2 次  2012年05月06日13点05分22秒\n答对 90 题，共 100 题：90 分");
}

TEST(ScoreTrend, NoPaperGivesTheEmptyStateText) {
    auto st = stateWith({{"TKkeche", 100, 100}});
    ScoreTrend t = ProgressStats::scoreTrend(*st);
    EXPECT_TRUE(t.empty());
    EXPECT_EQ(t.readiness, ProgressStats::kNoPapers);
    EXPECT_EQ(t.averageText, "");
    EXPECT_EQ(t.recentCount, 0);
}

TEST(ScoreTrend, AFullHistoryOf999Papers) {
    std::vector<Paper> papers;
    for (int i = 1; i <= Sfile::kMaxHistory; ++i) papers.push_back({"TKxiaoche", 80 + i % 21, 100}); // 80..100
    auto st = stateWith(papers);
    st->historyCount = 5000; // a count past the slots reads as the 999 there are
    ScoreTrend t = ProgressStats::scoreTrend(*st);
    ASSERT_EQ(t.papers.size(), 999u);
    EXPECT_EQ(t.papers.front().entry, 1);
    EXPECT_EQ(t.papers.back().order, 999);
    // The newest ten scores are 80 + (990..999) % 21 = 83..92: three reach 90.
    EXPECT_EQ(t.papers.back().score, 92);
    EXPECT_EQ(t.recentCount, 10);
    EXPECT_EQ(t.recentPassed, 3);
    EXPECT_EQ(t.readiness, "最近 10 次中有 3 次达到 90 分，还需要多练练，“错误集”里的题值得再做一遍。");
    EXPECT_NEAR(t.lastAverage, (88 + 89 + 90 + 91 + 92) / 5.0, 1e-9);
    EXPECT_NEAR(t.papers[500].recentAverage,
                (t.papers[496].percent + t.papers[497].percent + t.papers[498].percent + t.papers[499].percent +
                 t.papers[500].percent) / 5,
                1e-9);
}

TEST(ScoreTrend, ReadinessText) {
    struct Case {
        int count, passed;
        std::string text;
    } cases[] = {
        {0, 0, ProgressStats::kNoPapers},
        {1, 0, "最近 1 次中有 0 次达到 90 分，再多考几次才看得出是否稳定。"},
        {4, 4, "最近 4 次中有 4 次达到 90 分，再多考几次才看得出是否稳定。"},
        {5, 5, "最近 5 次中有 5 次达到 90 分，可以去考试了！"},
        {10, 9, "最近 10 次中有 9 次达到 90 分，可以去考试了！"},
        {10, 8, "最近 10 次中有 8 次达到 90 分，离稳定及格不远了，再巩固一下。"},
        {10, 5, "最近 10 次中有 5 次达到 90 分，离稳定及格不远了，再巩固一下。"},
        {10, 4, "最近 10 次中有 4 次达到 90 分，还需要多练练，“错误集”里的题值得再做一遍。"},
        {10, 0, "最近 10 次中有 0 次达到 90 分，还需要多练练，“错误集”里的题值得再做一遍。"},
    };
    for (const Case& c : cases) EXPECT_EQ(ProgressStats::readinessText(c.count, c.passed), c.text) << c.count << "/" << c.passed;
}

TEST(ScoreTrend, NumbersShowAtMostOneDecimal) {
    EXPECT_EQ(ProgressStats::number(92), "92");
    EXPECT_EQ(ProgressStats::number(87.44), "87.4");
    EXPECT_EQ(ProgressStats::number(89.95), "90"); // rounded, then the ".0" dropped
    EXPECT_EQ(ProgressStats::number(0), "0");
    EXPECT_EQ(ProgressStats::number(100), "100");
    EXPECT_EQ(ProgressStats::number(2.0 / 3), "0.7");
}

class ScoreTrendOfExams : public ExamRig {};

TEST_F(ScoreTrendOfExams, HandedInPapersAppearUnderTheLoadedBank) {
    start(bankOf(40));
    sitExam(true);
    now += 60;
    sitExam(false);
    ScoreTrend t = ProgressStats::scoreTrend(st());
    ASSERT_EQ(t.papers.size(), 2u);
    EXPECT_EQ(t.papers[0].score, 5);
    EXPECT_EQ(t.papers[0].itemCount, 5);
    EXPECT_TRUE(t.papers[0].passed);
    EXPECT_EQ(t.papers[1].score, 0);
    EXPECT_EQ(t.papers[1].takenAt, "2012年05月06日13点06分22秒");
    // Another bank chosen: the same history holds no paper of it.
    st().bankChoice = 3;
    EXPECT_TRUE(ProgressStats::scoreTrend(st()).empty());
}

namespace {

QuestionRecord record(std::int32_t type, std::int32_t right, std::int32_t wrong, std::int32_t answers) {
    QuestionRecord r{};
    r.type = type;
    r.rightCount = right;
    r.wrongCount = wrong;
    r.answerCount = answers;
    return r;
}

void expectGroup(const ProgressGroup& g, const char* name, int questions, int never, int neverWrong, int everWrong,
                 const std::string& accuracy) {
    SCOPED_TRACE(name);
    EXPECT_EQ(g.name, name);
    EXPECT_EQ(g.questions, questions);
    EXPECT_EQ(g.neverAnswered, never);
    EXPECT_EQ(g.neverWrong, neverWrong);
    EXPECT_EQ(g.everWrong, everWrong);
    EXPECT_EQ(g.neverAnswered + g.neverWrong + g.everWrong, g.questions);
    EXPECT_EQ(g.accuracyText, accuracy);
}

} // namespace

TEST(BankProgress, CountsPerTypeAndAccuracy) {
    Bank bank;
    const QuestionRecord records[] = {
        record(kTrueFalse, 0, 0, 0),     record(kTrueFalse, 3, 0, 3),   record(kTrueFalse, 1, 2, 3),
        record(kSingleChoice, 0, 0, 0),  record(kSingleChoice, 0, 1, 1), record(kMultipleChoice, 5, 0, 5),
        record(7, 1, 1, 2),              // a type of no group: the whole bank only
        record(kSingleChoice, -3, 0, 0), // a broken counter is no answer
        record(kSingleChoice, 0, 0, 2),  // answered, by the answer count alone
    };
    int n = 0;
    for (const QuestionRecord& r : records) bank.records[static_cast<std::size_t>(++n)] = r;
    bank.header.questionCount = n;
    bank.records[static_cast<std::size_t>(n + 1)] = record(kTrueFalse, 0, 9, 9); // past the last question

    BankProgress p = ProgressStats::bankProgress(bank);
    expectGroup(p.total, "全部", 9, 3, 3, 3, "71.4%（10/14）");
    EXPECT_NEAR(p.total.accuracy, 100.0 * 10 / 14, 1e-9);
    ASSERT_EQ(p.byType.size(), 3u);
    expectGroup(p.byType[0], "判断题", 3, 1, 1, 1, "66.7%（4/6）");
    expectGroup(p.byType[1], "单选题", 4, 2, 1, 1, "0%（0/1）");
    expectGroup(p.byType[2], "多选题", 1, 0, 1, 0, "100%（5/5）");
    EXPECT_EQ(p.total.accuracyShort, "71.4%");
    EXPECT_EQ(p.byType[2].accuracyShort, "100%");
}

TEST(BankProgress, AnEmptyBankHasNoAnswers) {
    Bank bank;
    BankProgress p = ProgressStats::bankProgress(bank);
    expectGroup(p.total, "全部", 0, 0, 0, 0, "还没有作答");
    EXPECT_EQ(p.total.accuracy, 0);
    for (const ProgressGroup& g : p.byType) {
        EXPECT_EQ(g.accuracyText, "还没有作答");
        EXPECT_EQ(g.accuracyShort, "—");
    }
}

class BankProgressOfAnswers : public TrainerTest {};

TEST_F(BankProgressOfAnswers, WhatWasJustAnsweredCounts) {
    start(plainBank(5));
    t().modes.SunXuClick();
    s().checkBox2 = false;
    answerAt(1, kAnswerA); // right
    answerAt(2, kAnswerB); // wrong
    BankProgress p = ProgressStats::bankProgress(*s().bank);
    expectGroup(p.total, "全部", 5, 3, 1, 1, "50%（1/2）");
    expectGroup(p.byType[1], "单选题", 5, 3, 1, 1, "50%（1/2）");
    answerAt(3, kAnswerA);
    EXPECT_EQ(ProgressStats::bankProgress(*s().bank).total.accuracyText, "66.7%（2/3）");
}
