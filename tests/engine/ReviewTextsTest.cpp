// What 智能复习 and the pass chance say to the learner: when a question comes
// back, the chance as a rounded percent, the due counts, and the message
// when nothing is due with how long until something is.
#include <gtest/gtest.h>

#include "engine/ReviewTexts.h"
#include "engine/ReviewWait.h"
#include "support/JournalAnswers.h"

using namespace cxb;
using namespace cxb::testing;

namespace {

TEST(ReviewTexts, ComeBackSaysTodayOrTheDays) {
    const struct { int days; const char* text; } cases[] = {
        {-3, "今天再复习"}, {0, "今天再复习"}, {1, "1 天后再复习"}, {3, "3 天后再复习"}, {365, "365 天后再复习"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, ReviewTexts::comeBack(c.days)) << c.days;
}

TEST(ReviewTexts, ChanceIsAWholePercentNeverZeroOrCertain) {
    const struct { double p; const char* text; } cases[] = {
        {0.0, "不到 1 %"},   {0.004, "不到 1 %"},  {0.006, "约 1 %"},     {0.25, "约 25 %"},
        {0.7349, "约 73 %"}, {0.7351, "约 74 %"},  {0.9949, "约 99 %"},   {0.9951, "超过 99 %"},
        {1.0, "超过 99 %"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, ReviewTexts::chance(c.p)) << c.p;
}

TEST(ReviewTexts, PassLineAndWhyItIsLow) {
    PassEstimate ready;
    ready.examSize = 100;
    ready.probability = 0.73;
    EXPECT_EQ("现在考试，通过的可能约 73 %", ReviewTexts::passLine(ready));
    EXPECT_EQ("现在考试，通过的可能约 73 %", ReviewTexts::passLines(ready));

    PassEstimate fresh = ready;
    fresh.probability = 0.0001;
    fresh.reason = "700 题中还有 612 题没有答过，按新学员估计约答对 60 %";
    EXPECT_EQ("现在考试，通过的可能不到 1 %", ReviewTexts::passLine(fresh));
    EXPECT_EQ("现在考试，通过的可能不到 1 %\n（700 题中还有 612 题没有答过，按新学员估计约答对 60 %）",
              ReviewTexts::passLines(fresh));

    // No paper can be drawn from an empty bank: nothing is said.
    PassEstimate none = fresh;
    none.examSize = 0;
    EXPECT_EQ("", ReviewTexts::passLine(none));
    EXPECT_EQ("", ReviewTexts::passLines(none));
}

TEST(ReviewTexts, DueTodayAndTheWeek) {
    const struct { DueCounts due; int newLeft; const char* today; const char* week; } cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, 0, "今天没有要复习的题目", "之后七天没有到期的题目"},
        {{0, 0, 0, 0, 0, 0, 0, 0}, 20, "今天到期 0 题，还可做新题 20 道", "之后七天没有到期的题目"},
        {{12, 0, 0, 0, 0, 0, 0, 0}, 0, "今天到期 12 题", "之后七天没有到期的题目"},
        {{12, 3, 0, 5, 1, 0, 2, 4}, 20, "今天到期 12 题，还可做新题 20 道", "之后七天到期 15 题（明天起每天 3、0、5、1、0、2、4）"},
        {{0, 0, 0, 0, 0, 0, 0, 1}, -4, "今天没有要复习的题目", "之后七天到期 1 题（明天起每天 0、0、0、0、0、0、1）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.today);
        EXPECT_EQ(c.today, ReviewTexts::dueToday(c.due, c.newLeft));
        EXPECT_EQ(c.week, ReviewTexts::dueWeek(c.due));
    }
}

TEST(ReviewWait, TheMessageSaysWhenTheNextBatchComes) {
    const struct { ReviewWait wait; const char* text; } cases[] = {
        {{3, 0, false}, "今天没有要复习的题目。下一批在 3 天后。"},
        {{1, 0, true}, "今天没有要复习的题目。下一批在 1 天后。"},
        {{0, 5, false}, "今天没有要复习的题目。下一批在 5 小时后。"},
        {{-1, 0, true}, "今天没有要复习的题目。每天新题设为 0 道，可以在“设置”的“智能复习”里改。"},
        {{-1, 0, false}, "今天没有要复习的题目。"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, c.wait.text());
}

TEST(ReviewWait, TheFirstQuestionDueOrTomorrowsNewOnes) {
    // Monday 9:00: right answers (stability 2.3065 days, due on Wednesday
    // afternoon at 90 %) and one wrong (stability 0.212 days: about five
    // hours later, 14:05).
    const std::int64_t nine = kMonday + 9 * kHour;
    const MemoryBook rightOnly({answerAt(1, true, nine), answerAt(2, true, nine), answerAt(3, true, nine)});
    const MemoryBook oneWrong({answerAt(1, true, nine), answerAt(2, false, nine), answerAt(3, true, nine)});
    const MemoryBook none({});
    const std::int64_t ten = kMonday + 10 * kHour;
    const struct { const char* name; const MemoryBook& book; int bank; int newPerDay; double retention; int days, hours; bool newOff; } cases[] = {
        {"all answered, due on Wednesday", rightOnly, 3, 20, 0.9, 2, 0, false},
        {"a lower retention waits three weeks", rightOnly, 3, 20, 0.7, 21, 0, false},
        {"new questions left: tomorrow", rightOnly, 5, 20, 0.9, 1, 0, false},
        {"no new questions a day: Wednesday", rightOnly, 5, 0, 0.9, 2, 0, true},
        {"a wrong answer comes back this afternoon", oneWrong, 5, 20, 0.9, 0, 5, false},
        {"nothing answered, no new questions", none, 5, 0, 0.9, -1, 0, true},
        {"an empty bank", none, 0, 20, 0.9, -1, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReviewWait w = ReviewWait::of(c.book, idsUpTo(c.bank), ten, ReviewSettings{c.retention, c.newPerDay});
        EXPECT_EQ(c.days, w.days);
        EXPECT_EQ(c.hours, w.hours);
        EXPECT_EQ(c.newOff, w.newOff);
    }
}

} // namespace
