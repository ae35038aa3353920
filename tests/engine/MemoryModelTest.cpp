// The memory model against values worked out by hand from its formulas with
// the default weights, and its replay of a bank's answers.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/MemoryBook.h"
#include "engine/MemoryModel.h"
#include "support/JournalAnswers.h"

using namespace cxb;

namespace {

using namespace cxb::testing;

constexpr double kTol = 1e-6;
const MemoryModel kModel;

// factor = 0.9^(−1/0.1542) − 1 = 1.98034649 − 1 = 0.98034649
TEST(MemoryModelCurve, RetrievabilityFollowsThePowerCurve) {
    EXPECT_NEAR(0.9803464944, kModel.factor(), 1e-9);
    struct Case { double days, stability, expected; } cases[] = {
        {0.0, 5.0, 1.0},           // no time passed
        {10.0, 10.0, 0.9},         // at t = S recall is 90 % by definition
        // (1 + 0.98034649·30/10)^−0.1542 = 3.94103948^−0.1542 = 0.80938810
        {30.0, 10.0, 0.8093881036},
        // (1 + 0.98034649·3/2.3065)^−0.1542 = 2.27511444^−0.1542 = 0.88094796
        {3.0, 2.3065, 0.8809479558},
        {-2.0, 5.0, 1.0},          // a clock set back never raises recall above 1
        {5.0, 0.0, 0.0},           // no stability, no recall
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_NEAR(c.expected, kModel.retrievability(c.days, c.stability), kTol);
    }
    // The interval inverts the curve: S/factor·(r^(−1/decay) − 1).
    EXPECT_NEAR(10.0, kModel.interval(10.0, 0.9), kTol);
    // 10/0.98034649·(0.8^(−6.48508) − 1) = 10.2004·3.25092 = 33.15960
    EXPECT_NEAR(33.1595978623, kModel.interval(10.0, 0.8), kTol);
    EXPECT_NEAR(0.8, kModel.retrievability(kModel.interval(7.0, 0.8), 7.0), kTol);
}

TEST(MemoryModelFirstAnswer, StabilityAndDifficultyFromTheGrade) {
    // S0(G) = w[G−1]: Again 0.212, Good 2.3065.
    EXPECT_NEAR(0.212, kModel.initialStability(MemoryModel::kAgain), kTol);
    EXPECT_NEAR(2.3065, kModel.initialStability(MemoryModel::kGood), kTol);
    // D0(G) = w4 − e^(w5·(G−1)) + 1
    // Again: 6.4133 − e^0 + 1 = 6.4133
    // Good:  6.4133 − e^1.6668 + 1 = 6.4133 − 5.29519603 + 1 = 2.11810397
    EXPECT_NEAR(6.4133, kModel.initialDifficulty(MemoryModel::kAgain), kTol);
    EXPECT_NEAR(2.1181039705, kModel.initialDifficulty(MemoryModel::kGood), kTol);
    // Easy would be 6.4133 − e^2.5002 + 1 = −4.77163, clamped to 1.
    EXPECT_NEAR(1.0, kModel.initialDifficulty(4), kTol);
}

TEST(MemoryModelDifficulty, StepDampingAndMeanReversion) {
    // D' = D − w6·(G−3)·(10−D)/9, then D'' = w7·D0(4) + (1−w7)·D' with
    // D0(4) = −4.77163070 unclamped, w7 = 0.001; clamped to 1..10.
    struct Case { double before; int grade; double expected; } cases[] = {
        // Good: no step; 0.001·(−4.77163) + 0.999·2.11810397 = 2.11121424
        {2.1181039705, 3, 2.1112142358},
        // Again: 2.11810397 + 6.0388·7.88189603/9 = 7.40688484;
        // 0.001·(−4.77163) + 0.999·7.40688484 = 7.39450274
        {2.1181039705, 1, 7.3945027413},
        // Again at 10: no room left to grow; 0.999·10 − 0.00477 = 9.98522837
        {10.0, 1, 9.9852283693},
        // Good at 1 would revert below 1: clamped
        {1.0, 3, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        EXPECT_NEAR(c.expected, kModel.nextDifficulty(c.before, c.grade), kTol);
    }
}

TEST(MemoryModelStability, AfterSuccessLapseAndSameDay) {
    // Success after 3 days from a first Good (S 2.3065, D 2.11810397, R 0.88094796):
    // S·(e^w8·(11−D)·S^−w9·(e^(w10·(1−R))−1) + 1)
    // = 2.3065·(6.50258636·8.88189603·0.87002544·0.09940094 + 1)
    // = 2.3065·(4.99470367 + 1) = 13.82690369
    EXPECT_NEAR(13.8269036944, kModel.stabilityAfterSuccess(2.3065, 2.1181039705, 0.8809479558), 1e-5);

    struct Lapse { double s, d, r, expected; } lapses[] = {
        // w11·D^−w12·((S+1)^w13 − 1)·e^(w14·(1−R))
        // = 1.4835·2.1181^−0.0614·(3.3065^0.2629 − 1)·e^(1.6483·0.11905) = 0.63685070;
        // the cap S/e^(w17·w18) = 2.3065/1.05072037 = 2.19516063 does not bind
        {2.3065, 2.1181039705, 0.8809479558, 0.6368506992},
        // 1.4835·5^−0.0614·(21^0.2629 − 1)·e^(1.6483·0.2) = 2.29185663
        {20.0, 5.0, 0.8, 2.2918566328},
        // 1.4835·0.89216502·0.05184764·4.40821568 = 0.30249946 is above
        // the cap 0.212/1.05072037 = 0.20176634: the cap holds
        {0.212, 6.4133, 0.1, 0.2017663359},
    };
    for (const Lapse& c : lapses) {
        SCOPED_TRACE(c.s);
        EXPECT_NEAR(c.expected, kModel.stabilityAfterLapse(c.s, c.d, c.r), kTol);
    }

    struct SameDay { double s; int grade; double expected; } sameDay[] = {
        // S·e^(w17·(G−3+w18))·S^−w19: Good at 0.212 grows,
        // 0.212·1.05072037·1.10755 = 0.212·1.16362824 = 0.24668919
        {0.212, 3, 0.2466891878},
        // Good at 2.3065: 1.05072037·2.3065^−0.0658 = 0.99450007 < 1, held at 1
        {2.3065, 3, 2.3065},
        // Good at 100: 0.77604544 < 1, held at 1
        {100.0, 3, 100.0},
        // Again at 2.3065: e^(0.5425·(−1.9088))·2.3065^−0.0658 = 0.33604335;
        // 2.3065·0.33604335 = 0.77508398
        {2.3065, 1, 0.7750839829},
    };
    for (const SameDay& c : sameDay) {
        SCOPED_TRACE(c.s);
        EXPECT_NEAR(c.expected, kModel.stabilitySameDay(c.s, c.grade), kTol);
    }
}

TEST(MemoryBookReplay, StatesFollowTheAnswersInOrder) {
    std::vector<JournalAnswer> answers = {
        answerAt(7, true, kMonday + 9 * 3600000),                // first Good
        answerAt(9, false, kMonday + 9 * 3600000 + 60000),       // first Again
        answerAt(7, true, kMonday + 3 * kDay + 9 * 3600000),     // Good after exactly 3 days
        answerAt(9, true, kMonday + 10 * 3600000),               // same day: short-term rule
    };
    MemoryBook book(answers);
    ASSERT_EQ(2u, book.states().size());
    EXPECT_EQ(nullptr, book.find(8)); // never answered
    EXPECT_LT(book.retrievability(8, kMonday), 0.0);

    const MemoryState* q7 = book.find(7);
    ASSERT_NE(nullptr, q7);
    EXPECT_NEAR(13.8269036944, q7->stability, 1e-5);
    EXPECT_NEAR(2.1112142358, q7->difficulty, kTol);
    EXPECT_EQ(2, q7->answers);
    EXPECT_EQ(0, q7->lapses);

    // Again then Good the same day: S 0.212 → 0.24668919 (short-term Good);
    // D 6.4133 → 0.999·6.4133 − 0.00477163 = 6.40211507
    const MemoryState* q9 = book.find(9);
    ASSERT_NE(nullptr, q9);
    EXPECT_NEAR(0.2466891878, q9->stability, kTol);
    EXPECT_NEAR(6.4021150693, q9->difficulty, kTol);

    EXPECT_EQ(2, book.firstAnswers());
    EXPECT_EQ(1, book.firstRight());
    EXPECT_EQ(2, book.newOnDay(book.days().dayOf(kMonday)));
    EXPECT_EQ(0, book.newOnDay(book.days().dayOf(kMonday) + 3));
}

TEST(MemoryBookReplay, CalendarDaysAreTheLearnersOwn) {
    // 23:50 and 00:10 Beijing time are twenty minutes apart but on two days:
    // the second answer takes the long-term rule, not the short-term one.
    std::vector<JournalAnswer> overMidnight = {answerAt(1, true, kMonday - 600000), answerAt(1, true, kMonday + 600000)};
    MemoryBook beijing(overMidnight);
    // R after 20 minutes ≈ 0.99918, so S grows only a little; never the
    // same-day value 2.3065.
    const MemoryState* s = beijing.find(1);
    ASSERT_NE(nullptr, s);
    EXPECT_GT(s->stability, 2.3065 + 1e-4);

    // In UTC both answers fall on the same day: the short-term rule holds S.
    MemoryBook utc(overMidnight, LearnerDays{0});
    EXPECT_NEAR(2.3065, utc.find(1)->stability, kTol);
}

TEST(MemoryBookReplay, AClockSetBackCountsAsTheSameMoment) {
    std::vector<JournalAnswer> answers = {answerAt(3, true, kMonday + 5 * kDay), answerAt(3, false, kMonday)};
    MemoryBook book(answers);
    const MemoryState* s = book.find(3);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(kMonday + 5 * kDay, s->lastMs);
    // Same day as the first answer: 2.3065 → 0.77508398
    EXPECT_NEAR(0.7750839829, s->stability, kTol);
    EXPECT_EQ(1, s->lapses);
}

TEST(MemoryBookReplay, DueIsWhenRecallFallsToTheRetention) {
    MemoryBook book({answerAt(5, true, kMonday)});
    const MemoryState* s = book.find(5);
    ASSERT_NE(nullptr, s);
    // At 0.9 the interval is the stability itself: 2.3065 days.
    EXPECT_EQ(kMonday + static_cast<std::int64_t>(std::llround(2.3065 * kDay)), book.dueMs(*s, 0.9));
    EXPECT_NEAR(0.9, book.retrievability(5, book.dueMs(*s, 0.9)), 1e-6);
}

} // namespace
