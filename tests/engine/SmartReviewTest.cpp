// The 智能复习 list and its due counts: hand-made states, and a week of use
// written to a real answer journal and read back.
#include <gtest/gtest.h>

#include <cmath>

#include "data/AnswerJournal.h"
#include "engine/SmartReview.h"
#include "support/JournalAnswers.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

using namespace cxb::testing;

TEST(SmartReviewList, MostOverdueFirstThenNewUpToTheAllowance) {
    // First answers on Monday 9:00: Good gives S 2.3065, Again S 0.212.
    std::vector<JournalAnswer> answers = {
        answerAt(4, true, kMonday + 9 * kHour),  answerAt(2, false, kMonday + 9 * kHour),
        answerAt(6, true, kMonday + 9 * kHour),  answerAt(3, false, kMonday + 8 * kHour),
    };
    MemoryBook book(answers);
    const std::int64_t now = kMonday + 9 * kHour + 4 * kDay; // Friday 9:00

    // After 4 days: R(4, 2.3065) = (1 + 0.98034649·4/2.3065)^−0.1542
    // = 2.70013^−0.1542 = e^(−0.1542·0.99330) = 0.85799;
    // Again questions: id 3 is an hour older than id 2, so lower.
    std::vector<std::int32_t> due = SmartReview::dueNow(book, now, 0.9);
    EXPECT_EQ((std::vector<std::int32_t>{3, 2, 4, 6}), due);
    EXPECT_NEAR(0.85799, book.retrievability(4, now), 1e-5);

    // Below 0.85 retention the Good ones are not due yet.
    EXPECT_EQ((std::vector<std::int32_t>{3, 2}), SmartReview::dueNow(book, now, 0.85));

    struct Case { int newPerDay; std::vector<std::int32_t> expected; } cases[] = {
        {0, {3, 2, 4, 6}},
        {2, {3, 2, 4, 6, 1, 5}},
        {20, {3, 2, 4, 6, 1, 5, 7, 8}},
        {-3, {3, 2, 4, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newPerDay);
        EXPECT_EQ(c.expected, SmartReview::build(book, idsUpTo(8), now, ReviewSettings{0.9, c.newPerDay}));
    }
}

TEST(SmartReviewList, NewQuestionsAnsweredTodayUseUpTheAllowance) {
    std::vector<JournalAnswer> answers;
    for (int id = 1; id <= 15; ++id) answers.push_back(answerAt(id, true, kMonday + 9 * kHour + id * 60000));
    MemoryBook book(answers);
    const std::int64_t now = kMonday + 10 * kHour;
    // 15 of 20 taken today; none due yet (same-day Good keeps R near 1).
    EXPECT_EQ((std::vector<std::int32_t>{16, 17, 18, 19, 20}), SmartReview::build(book, idsUpTo(40), now, ReviewSettings{}));
    // Tomorrow the allowance is whole again.
    EXPECT_EQ(20u, SmartReview::build(book, idsUpTo(40), now + kDay, ReviewSettings{}).size());
    // A bank listing an id twice offers it once.
    EXPECT_EQ((std::vector<std::int32_t>{16}), SmartReview::build(book, {16, 16, 3}, now, ReviewSettings{}));
}

TEST(SmartReviewDue, CountsForTodayAndTheNextSevenDays) {
    // Due dates at 0.9: last answer + S days.
    //   id 1: Good Mon 9:00, S 2.3065 → Wed 16:21 (day 2)
    //   id 2: Again Mon 9:00, S 0.212 → Mon 14:05 (today)
    //   id 3: Good twice, Mon 9:00 and Thu 9:00 → S 13.8269 → Thu 9:00 + 13 d 19.8 h:
    //         04:51 fourteen days after that Thursday
    //   id 4: Again last Friday → overdue, counted today
    std::vector<JournalAnswer> answers = {
        answerAt(4, false, kMonday - 3 * kDay), answerAt(1, true, kMonday + 9 * kHour),
        answerAt(2, false, kMonday + 9 * kHour), answerAt(3, true, kMonday + 9 * kHour),
        answerAt(3, true, kMonday + 9 * kHour + 3 * kDay),
    };
    MemoryBook book(answers);
    DueCounts counts = SmartReview::dueCounts(book, kMonday + 9 * kHour + 3 * kDay, 0.9);
    // "Today" is Thursday now: ids 1, 2, 4 are all past due.
    EXPECT_EQ((DueCounts{3, 0, 0, 0, 0, 0, 0, 0}), counts);
    counts = SmartReview::dueCounts(book, kMonday + 10 * kHour, 0.9);
    EXPECT_EQ((DueCounts{2, 0, 1, 0, 0, 0, 0, 0}), counts);
    EXPECT_EQ(2, SmartReview::daysUntilDue(book, 1, kMonday + 10 * kHour, 0.9));
    EXPECT_EQ(0, SmartReview::daysUntilDue(book, 2, kMonday + 10 * kHour, 0.9));
    EXPECT_EQ(14, SmartReview::daysUntilDue(book, 3, kMonday + 9 * kHour + 3 * kDay, 0.9));
    EXPECT_EQ(0, SmartReview::daysUntilDue(book, 99, kMonday, 0.9)); // never answered
}

// A learner uses 智能复习 every morning for a week, answering every offered
// question (a fixed pattern of wrong ones), each answer committed to a real
// journal. Each morning the list is read back from the journal.
TEST(SmartReviewWeek, OffersExactlyTheQuestionsTheModelSaysAreDue) {
    test::TempDir dir;
    auto opened = AnswerJournal::open(dir.file("journal.db"));
    ASSERT_TRUE(opened.ok()) << opened.error();
    AnswerJournal journal = std::move(opened.value());
    const std::vector<std::int32_t> bank = idsUpTo(200); // never runs out of new ones
    int answered = 0;
    for (int day = 0; day < 8; ++day) {
        SCOPED_TRACE(day);
        const std::int64_t morning = kMonday + day * kDay + 8 * kHour;
        MemoryBook book(journal.answers("c1"));
        std::vector<std::int32_t> list = SmartReview::build(book, bank, morning, ReviewSettings{});

        // Every answered question below 0.9 now is offered, none above,
        // lowest recall first, then exactly 20 new ones in bank order.
        std::size_t dueCount = 0;
        double previous = -1.0;
        for (const auto& [id, s] : book.states()) {
            double r = book.retrievability(id, morning);
            if (r < 0.9) ++dueCount;
        }
        ASSERT_LE(dueCount, list.size());
        for (std::size_t i = 0; i < dueCount; ++i) {
            double r = book.retrievability(list[i], morning);
            ASSERT_GE(r, 0.0);
            EXPECT_LT(r, 0.9);
            EXPECT_GE(r, previous);
            previous = r;
        }
        ASSERT_EQ(dueCount + 20, list.size());
        for (std::size_t i = dueCount; i < list.size(); ++i) {
            EXPECT_EQ(nullptr, book.find(list[i]));
            EXPECT_EQ(static_cast<std::int32_t>(book.states().size() + 1 + (i - dueCount)), list[i]);
        }
        if (day > 0) {
            EXPECT_GT(dueCount, 0u);
        }

        for (std::size_t i = 0; i < list.size(); ++i) {
            JournalAnswer a = answerAt(list[i], (list[i] * 7 + day) % 5 != 0, morning + static_cast<std::int64_t>(i) * 30000);
            ASSERT_GT(journal.appendAnswer(a), 0) << journal.lastError();
            ++answered;
        }
        // Straight after the session nothing answered right is due again.
        MemoryBook after(journal.answers("c1"));
        for (const auto& [id, s] : after.states()) {
            if (s.lapses == 0) {
                EXPECT_GE(after.retrievability(id, morning + kHour), 0.9) << id;
            }
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(answered), journal.answers("c1").size());
}

} // namespace
