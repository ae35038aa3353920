// 智能复习 in the trainer, over its real answer journal: the list day by day,
// the message when nothing is due, when a question just answered comes back,
// the chance to pass after a hand-in, on the information page, in 学习进度
// and at each recorded paper, and the two settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "data/StateFile.h"
#include "engine/ChosenModes.h"
#include "engine/ReviewSettingsField.h"
#include "engine/SettingsModel.h"
#include "support/JournalAnswers.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;
using cxb::testing::kDay;
using cxb::testing::kHour;
using cxb::testing::kMonday;

namespace {

constexpr int kRight = 1; // plainBank: every answer is A
constexpr int kWrong = 2;

class LearnerMemoryTest : public TrainerTest {
protected:
    static constexpr int kQuestions = 30;
    std::int64_t nowMs = kMonday + 9 * kHour;

    static void SetUpTestSuite() {
        // Hand-in times are written in local time; make that UTC here, and
        // the learner's calendar with it.
        setenv("TZ", "UTC", 1);
        tzset();
    }

    void SetUp() override { begin({}); }
    void begin(const std::function<void(Sfile&)>& tweak) {
        start(plainBank(kQuestions), [&tweak](Sfile& st) {
            st.examCount = 10;
            if (tweak) tweak(st);
        });
        t().journal.setClock([this] { return nowMs; });
        t().exam.setClock([this] { return static_cast<std::time_t>(nowMs / 1000); });
        t().memory.setDays(LearnerDays{0});
        win.forget();
    }
    // Answers every entry of the list on show: wrong where `wrong(id)`.
    void answerAll(const std::function<bool(int)>& wrong) {
        const int n = s().listCount;
        for (int i = 1; i <= n; ++i) {
            nowMs += 20000;
            answerAt(i, wrong(entry(i).id) ? kWrong : kRight);
        }
    }
    std::string comeBackAfter(int position, int code) {
        answerAt(position, code);
        return win.lastView().comeBack;
    }
};

TEST_F(LearnerMemoryTest, TheListDayByDayFromTheJournal) {
    // Monday: twenty new questions in bank order.
    EXPECT_EQ(20, t().memory.start());
    EXPECT_NE(std::string::npos, win.caption.find("智能复习"));
    EXPECT_EQ(ChosenModes::kSmartReview, s().modeCode);
    std::vector<int> first;
    for (int id = 1; id <= 20; ++id) first.push_back(id);
    EXPECT_EQ(first, listIds());
    answerAll([](int id) { return id % 4 == 0; }); // 4, 8, 12, 16, 20 wrong

    // At once nothing is due and today's new ones are spent: the list on
    // show stays, and the message says the wrong ones come back in hours.
    win.forget();
    EXPECT_EQ(0, t().memory.start());
    EXPECT_EQ(20, s().listCount);
    ASSERT_EQ(1u, win.messages.size());
    EXPECT_EQ("今天没有要复习的题目。下一批在 5 小时后。", win.messages[0]);

    // In the afternoon the wrong ones are due, the oldest answer first;
    // 重新出题 asks again and finds them again.
    nowMs = kMonday + 16 * kHour;
    EXPECT_EQ(5, t().memory.start());
    EXPECT_EQ((std::vector<int>{4, 8, 12, 16, 20}), listIds());
    t().modes.Button2Click();
    EXPECT_EQ((std::vector<int>{4, 8, 12, 16, 20}), listIds());
    answerAll([](int) { return false; });

    // Tuesday: the five answered again the same afternoon have only a few
    // hours' hold and are due first, then the ten new ones left.
    nowMs = kMonday + kDay + 8 * kHour;
    EXPECT_EQ(15, t().memory.start());
    EXPECT_EQ((std::vector<int>{4, 8, 12, 16, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}), listIds());
    answerAll([](int) { return false; });
    win.forget();
    EXPECT_EQ(0, t().memory.start());
    ASSERT_EQ(1u, win.messages.size());
    EXPECT_EQ("今天没有要复习的题目。下一批在 1 天后。", win.messages[0]);
    // Wednesday after Monday's first answers: those right on Monday are due.
    nowMs = kMonday + 2 * kDay + 20 * kHour;
    const int due = t().memory.start();
    EXPECT_GE(due, 15);
    for (int id : listIds()) EXPECT_LE(id, 20);
}

TEST_F(LearnerMemoryTest, NoNewQuestionsADaySaysWhereToChangeIt) {
    begin([](Sfile& st) { ReviewSettingsField::write(st, ReviewSettings{0.9, 0}); });
    EXPECT_EQ(0, t().memory.start());
    ASSERT_EQ(1u, win.messages.size());
    EXPECT_EQ("今天没有要复习的题目。每天新题设为 0 道，可以在“设置”的“智能复习”里改。", win.messages[0]);
}

TEST_F(LearnerMemoryTest, AfterEachPracticeAnswerTheViewSaysWhenItComesBack) {
    // A first right answer holds 2.3 days at 90 %, 21 at 70 %; a wrong one
    // comes back within hours.
    const struct { const char* name; double retention; int code; const char* text; } cases[] = {
        {"right", 0.9, kRight, "2 天后再复习"},
        {"right, lower retention", 0.7, kRight, "21 天后再复习"},
        {"wrong", 0.9, kWrong, "今天再复习"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        begin([&c](Sfile& st) { ReviewSettingsField::write(st, ReviewSettings{c.retention, 20}); });
        for (const auto& startList : {std::function<void()>([this] { t().memory.start(); }),
                                      std::function<void()>([this] { t().modes.SunXuClick(); })}) {
            startList();
            // A question answered in neither list.
            const int at = s().modeCode == ChosenModes::kSmartReview ? 3 : 10;
            t().view.showQuestion(at);
            EXPECT_EQ("", win.lastView().comeBack); // not answered yet
            EXPECT_EQ(c.text, comeBackAfter(at, c.code));
            // And again when the question is shown later.
            t().view.showQuestion(at + 1);
            t().view.showQuestion(at);
            EXPECT_EQ(c.text, win.lastView().comeBack);
        }
    }
}

TEST_F(LearnerMemoryTest, AMockExamShowsNoComeBackAndTheResultShowsTheChance) {
    t().modes.KaoShiClick();
    ASSERT_EQ(10, s().listCount);
    answerAt(1, entry(1).answer);
    EXPECT_EQ("", win.lastView().comeBack);
    EXPECT_EQ(0u, win.text.count(Ctl::lbltongguo));
    for (int i = 2; i <= s().listCount; ++i) entry(i).userAnswer = entry(i).answer;
    t().exam.JIAOJUANClick();
    // Only the answer given in the exam counts: the rest of the bank is
    // guessed from that one.
    const std::string line = win.text[Ctl::lbltongguo];
    EXPECT_EQ(0u, line.find("现在考试，通过的可能")) << line;
    EXPECT_NE(std::string::npos, line.find("\n（30 题中还有 29 题没有答过")) << line;

    // A learner who has just answered every question right passes nearly
    // surely.
    t().modes.SunXuClick();
    ASSERT_EQ(kQuestions, s().listCount);
    answerAll([](int) { return false; });
    nowMs += kHour;
    t().modes.KaoShiClick();
    for (int i = 1; i <= s().listCount; ++i) entry(i).userAnswer = entry(i).answer;
    t().exam.JIAOJUANClick();
    EXPECT_EQ("现在考试，通过的可能超过 99 %", win.text[Ctl::lbltongguo]);
}

TEST_F(LearnerMemoryTest, OutlookOnTheInformationPageAndInTheProgress) {
    const ReviewOutlook fresh = t().memory.outlook();
    EXPECT_EQ("今天到期 0 题，还可做新题 20 道", fresh.due);
    EXPECT_EQ("之后七天没有到期的题目", fresh.week);
    EXPECT_EQ("现在考试，通过的可能约 5 %", fresh.pass); // 9 of 10 at 60 % each
    EXPECT_EQ("30 题中还有 30 题没有答过，按新学员估计约答对 60 %", fresh.reason);

    t().memory.start();
    answerAll([](int id) { return id <= 2; });
    // The 2 wrong come back today, the 18 right on Wednesday; today's 20
    // new ones are spent.
    const ReviewOutlook o = t().memory.outlook();
    EXPECT_EQ("今天到期 2 题", o.due);
    EXPECT_EQ("之后七天到期 18 题（明天起每天 0、18、0、0、0、0、0）", o.week);
    EXPECT_EQ(0u, o.pass.find("现在考试，通过的可能"));

    const std::string page = t().memory.infoHtml();
    EXPECT_NE(std::string::npos, page.find("<h3>智能复习</h3>"));
    EXPECT_NE(std::string::npos, page.find("今天到期 2 题。"));
    EXPECT_NE(std::string::npos, page.find("<b>" + o.pass + "</b>"));
    EXPECT_NE(std::string::npos, page.find("记忆保持率 90 %"));
    EXPECT_NE(std::string::npos, page.find("每天新题 20 道"));

    const BankProgress p = t().memory.bankProgress();
    EXPECT_EQ(o.due, p.outlook.due);
    EXPECT_EQ(o.pass, p.outlook.pass);
    EXPECT_EQ(kQuestions, p.total.questions);
}

TEST_F(LearnerMemoryTest, EachRecordedPaperHasTheChanceFromTheAnswersBeforeIt) {
    // A paper before any practice, then a week of practice, then another.
    t().modes.KaoShiClick();
    t().exam.JIAOJUANClick(); // handed in blank: no answers counted
    for (int day = 0; day < 3; ++day) {
        nowMs = kMonday + day * kDay + 10 * kHour;
        if (t().memory.start() > 0) answerAll([](int) { return false; });
    }
    nowMs = kMonday + 7 * kDay + 10 * kHour;
    t().modes.KaoShiClick();
    t().exam.JIAOJUANClick();

    const ScoreTrend trend = t().memory.scoreTrend();
    ASSERT_EQ(2u, trend.papers.size());
    EXPECT_EQ(-1, trend.papers[0].passChance);
    EXPECT_EQ(std::string::npos, trend.papers[0].tip.find("通过的可能"));
    const PaperPoint& later = trend.papers[1];
    EXPECT_GT(later.passChance, 0.0);
    EXPECT_LE(later.passChance, 100.0);
    EXPECT_NE(std::string::npos, later.tip.find("\n交卷时通过的可能"));
    // The figure of the moment the paper was handed in.
    EXPECT_NEAR(t().memory.passChance().probability * 100.0, later.passChance, 1e-9);
}

TEST(ReviewSettingsChoice, TheDialogsRangesHoldEveryValue) {
    const struct { int percent, perDay; double retention; int newPerDay; } chosen[] = {
        {90, 20, 0.90, 20}, {70, 0, 0.70, 0}, {97, 200, 0.97, 200},
        {50, -3, 0.70, 0},  {99, 500, 0.97, 200},
    };
    for (const auto& c : chosen) {
        const ReviewSettings s = ReviewSettingsField::chosen(c.percent, c.perDay);
        EXPECT_DOUBLE_EQ(c.retention, s.retention) << c.percent;
        EXPECT_EQ(c.newPerDay, s.newPerDay) << c.perDay;
    }
    const struct { double retention; int percent; } shown[] = {{0.9, 90}, {0.85, 85}, {0.99, 97}, {0.5, 70}, {0.7, 70}};
    for (const auto& c : shown) EXPECT_EQ(c.percent, ReviewSettingsField::retentionPercent(ReviewSettings{c.retention, 20})) << c.retention;
}

TEST_F(LearnerMemoryTest, TheSettingsStoreOnlyWhatWasChanged) {
    // Untouched, a state file that never set them keeps its zero bytes.
    SettingsValues v = SettingsModel::openingValues(*s().state);
    EXPECT_EQ(90, v.retentionPercent);
    EXPECT_EQ(20, v.newPerDay);
    ASSERT_TRUE(SettingsModel::apply(t(), v).applied);
    EXPECT_EQ(0, s().state->reserved1);
    EXPECT_EQ(0, s().state->reserved2);

    const struct { int percent, perDay; std::int32_t reserved1, reserved2; } cases[] = {
        {85, 35, 850, 36}, {97, 0, 970, 1}, {70, 200, 700, 201}, {120, 900, 970, 201},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        v.retentionPercent = c.percent;
        v.newPerDay = c.perDay;
        ASSERT_TRUE(SettingsModel::apply(t(), v).applied);
        EXPECT_EQ(c.reserved1, s().state->reserved1);
        EXPECT_EQ(c.reserved2, s().state->reserved2);
        // On disk, and shown again when the dialog opens next.
        auto back = StateFile::newRecord();
        StateFile::parse(dir.read("bankdata/sys.dat"), *back);
        EXPECT_EQ(c.reserved1, back->reserved1);
        const SettingsValues again = SettingsModel::openingValues(*back);
        EXPECT_EQ(std::min(c.percent, 97), again.retentionPercent);
        EXPECT_EQ(std::min(c.perDay, 200), again.newPerDay);
    }
}

} // namespace
