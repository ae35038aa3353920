// The pass chance: the pass line, the draw's slices, the exact score
// distribution against a Monte-Carlo run of the real draw, the two learners
// everyone can picture, and a calibration against simulated learners.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/ExamDraw.h"
#include "engine/PassChance.h"
#include "support/JournalAnswers.h"

using namespace cxb;

namespace {

using namespace cxb::testing;

TEST(PassChanceLine, NinetyOfOneHundredScaled) {
    struct Case { int n, score; } cases[] = {{100, 90}, {50, 45}, {10, 9}, {1, 1}, {0, 0}, {99, 90}, {725, 653}, {11, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(c.score, PassChance::passScore(c.n));
        EXPECT_GE(c.score * 100, 90 * c.n);
        if (c.score > 0) {
            EXPECT_LT((c.score - 1) * 100, 90 * c.n);
        }
    }
}

TEST(PassChanceDistribution, PoissonBinomialByHand) {
    // p = 0.5, 0.2: P0 = 0.5·0.8 = 0.4, P1 = 0.5·0.8 + 0.5·0.2 = 0.5, P2 = 0.1
    std::vector<double> d = PassChance::scoreDistribution({0.5, 0.2});
    ASSERT_EQ(3u, d.size());
    EXPECT_NEAR(0.4, d[0], 1e-12);
    EXPECT_NEAR(0.5, d[1], 1e-12);
    EXPECT_NEAR(0.1, d[2], 1e-12);
    // Equal chances give the binomial: 10 at 0.9, P(10) = 0.9^10 = 0.34867844
    d = PassChance::scoreDistribution(std::vector<double>(10, 0.9));
    EXPECT_NEAR(0.3486784401, d[10], 1e-10);
    EXPECT_NEAR(10 * 0.1 * std::pow(0.9, 9), d[9], 1e-10);
    double sum = 0;
    for (double x : d) sum += x;
    EXPECT_NEAR(1.0, sum, 1e-12);
    // Chances outside 0..1 are held there.
    d = PassChance::scoreDistribution({1.5, -0.5});
    EXPECT_NEAR(1.0, d[1], 1e-12);
}

TEST(PassChanceSlices, EachSlotAveragesItsOwnSlice) {
    // 10 records, 5 slots: slot s draws d = r + 10(s−1) + 1 for r 0..9,
    // k = round(d/5): slot 1 gets d 1..10 → k 0,0,1,1,1,1,1,2,2,2 → record 0 is
    // redrawn, so records 1 (5 of 8) and 2 (3 of 8).
    std::vector<double> recall(11, 0.0);
    recall[1] = 1.0;
    std::vector<double> slots = PassChance::slotRecall(recall, 10, 5);
    ASSERT_EQ(6u, slots.size());
    EXPECT_NEAR(5.0 / 8.0, slots[1], 1e-12);
    EXPECT_NEAR(0.0, slots[2], 1e-12);
    // As many slots as records: slot s draws d/10 = s−1 + 0.1 … s, so record
    // s−1 four times in ten and record s six. With recall k/10 on record k,
    // slot s > 1 averages 0.4·(s−1)/10 + 0.6·s/10 = s/10 − 0.04; slot 1
    // redraws record 0 and always gets record 1.
    for (int k = 1; k <= 10; ++k) recall[static_cast<std::size_t>(k)] = k / 10.0;
    slots = PassChance::slotRecall(recall, 10, 10);
    EXPECT_NEAR(0.1, slots[1], 1e-12);
    for (int s = 2; s <= 10; ++s) EXPECT_NEAR(s / 10.0 - 0.04, slots[static_cast<std::size_t>(s)], 1e-12) << s;
}

// The exact figure against papers drawn by the program's own draw, each
// slot answered right with its record's recall.
TEST(PassChanceSlices, MatchesTheRealDrawByMonteCarlo) {
    const int c = 1999, n = 100;
    std::vector<double> recall(c + 1, 0.0);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0.8, 1.0);
    for (int k = 1; k <= c; ++k) recall[static_cast<std::size_t>(k)] = u(rng);
    std::vector<double> slots = PassChance::slotRecall(recall, c, n);
    slots.erase(slots.begin());
    std::vector<double> dist = PassChance::scoreDistribution(slots);
    double exact = 0;
    for (int k = 90; k <= n; ++k) exact += dist[static_cast<std::size_t>(k)];

    std::uniform_real_distribution<double> coin(0.0, 1.0);
    std::uint32_t seed = 1;
    ExamDraw draw([&seed] { return seed = seed * 1103515245u + 12345u; });
    const int papers = 20000;
    int passed = 0;
    for (int p = 0; p < papers; ++p) {
        std::vector<int> picked = draw.draw(c, n);
        int score = 0;
        for (int s = 1; s <= n; ++s) score += coin(rng) < recall[static_cast<std::size_t>(picked[static_cast<std::size_t>(s)])];
        passed += score >= 90;
    }
    // Standard error at 20,000 papers is at most 0.0035.
    EXPECT_NEAR(exact, passed / static_cast<double>(papers), 0.012);
}

TEST(PassChanceLearners, TwiceRightDaysApartPassesANewLearnerDoesNot) {
    const std::vector<std::int32_t> bank = idsUpTo(500);
    std::vector<JournalAnswer> answers;
    for (std::int32_t id : bank) answers.push_back(answerAt(id, true, kMonday + 9 * kHour));
    for (std::int32_t id : bank) answers.push_back(answerAt(id, true, kMonday + 4 * kDay + 9 * kHour));
    MemoryBook diligent(answers);
    PassEstimate e = PassChance::estimate(diligent, bank, 100, kMonday + 5 * kDay + 9 * kHour);
    EXPECT_GT(e.probability, 0.9);
    EXPECT_EQ(500, e.answered);
    EXPECT_EQ(90, e.passScore);
    EXPECT_TRUE(e.reason.empty());

    MemoryBook fresh({});
    PassEstimate n = PassChance::estimate(fresh, bank, 100, kMonday);
    EXPECT_LT(n.probability, 0.01);
    EXPECT_NEAR(0.6, n.prior, 1e-12);
    EXPECT_NEAR(60.0, n.expectedScore, 1e-9);
    EXPECT_EQ("500 题中还有 500 题没有答过，按新学员估计约答对 60 %", n.reason);

    // A learner who knows half the bank well and gets every other first
    // answer wrong is told the expected score.
    std::vector<JournalAnswer> half;
    for (std::int32_t id = 1; id <= 300; ++id) half.push_back(answerAt(id, id % 2 == 0, kMonday));
    MemoryBook mixed(half);
    PassEstimate m = PassChance::estimate(mixed, bank, 100, kMonday + 10 * kDay);
    EXPECT_LT(m.probability, 0.5);
    EXPECT_NE(std::string::npos, m.reason.find("及格要 90 题"));
    // The prior: (150 + 0.6·5)/(300 + 5) = 0.50163934
    EXPECT_NEAR(0.5016393443, m.prior, 1e-9);
}

TEST(PassChanceLearners, ExamSizeBeyondTheBankIsTheBank) {
    MemoryBook fresh({});
    PassEstimate e = PassChance::estimate(fresh, idsUpTo(20), 100, kMonday);
    EXPECT_EQ(20, e.examSize);
    EXPECT_EQ(18, e.passScore);
    PassEstimate none = PassChance::estimate(fresh, {}, 100, kMonday);
    EXPECT_EQ(0, none.examSize);
    EXPECT_EQ(0.0, none.probability);
}

} // namespace
