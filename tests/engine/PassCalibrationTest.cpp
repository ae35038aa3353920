// Calibration of the pass chance against simulated learners. Each learner
// has an unknown knack for questions never seen (the chance a first answer
// is right) and forgets along the model's own curve; it studies on random
// days at random hours, then sits mock papers drawn by the program's own
// draw, each question right with the learner's true recall. The predicted
// chances, grouped in tenths, must match the share of papers passed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "engine/ExamDraw.h"
#include "engine/PassChance.h"

using namespace cxb;

namespace {

constexpr std::int64_t kDay = 86400000;
constexpr std::int64_t kStart = 1772380800000LL; // 2026-03-02 00:00 Beijing time

struct Bin {
    double predicted = 0;
    double passed = 0;
    int papers = 0;
};

TEST(PassCalibration, PredictedChancesMatchSimulatedPassRates) {
    const int bankSize = 200, examSize = 20, learners = 1200, papersEach = 20;
    std::vector<std::int32_t> bank;
    for (int i = 1; i <= bankSize; ++i) bank.push_back(1000 + i);
    const MemoryModel model;
    std::mt19937 rng(2026);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uint32_t seed = 99;
    ExamDraw draw([&seed] { return seed = seed * 1664525u + 1013904223u; });
    Bin bins[10];

    for (int l = 0; l < learners; ++l) {
        const double knack = 0.5 + 0.45 * unit(rng);
        const int studyDays = 1 + static_cast<int>(unit(rng) * 8);
        const double share = 0.3 + 0.7 * unit(rng);
        // The true memory state of each question, kept beside the journal.
        std::vector<MemoryState> truth(static_cast<std::size_t>(bankSize) + 1);
        std::vector<JournalAnswer> journal;
        LearnerDays days;
        std::int64_t t = kStart;
        for (int d = 0; d < studyDays; ++d) {
            t = kStart + (d * 2 + static_cast<int>(unit(rng) * 2)) * kDay + static_cast<std::int64_t>(unit(rng) * 12 * 3600000);
            for (int k = 1; k <= bankSize; ++k) {
                if (unit(rng) > share) continue;
                MemoryState& s = truth[static_cast<std::size_t>(k)];
                double p = s.answers == 0 ? knack
                                          : model.retrievability(static_cast<double>(t - s.lastMs) / kDay, s.stability);
                bool right = unit(rng) < p;
                bool sameDay = s.answers > 0 && days.dayOf(t) == days.dayOf(s.lastMs);
                s = model.answer(s, right, t, sameDay);
                JournalAnswer a;
                a.questionId = bank[static_cast<std::size_t>(k - 1)];
                a.right = right;
                a.atMs = t;
                journal.push_back(a);
                t += 20000;
            }
        }
        const std::int64_t examAt = t + static_cast<std::int64_t>(unit(rng) * 20 * kDay);
        MemoryBook book(journal, days, model);
        double predicted = PassChance::estimate(book, bank, examSize, examAt).probability;

        std::vector<double> trueRecall(static_cast<std::size_t>(bankSize) + 1);
        for (int k = 1; k <= bankSize; ++k) {
            const MemoryState& s = truth[static_cast<std::size_t>(k)];
            trueRecall[static_cast<std::size_t>(k)] =
                s.answers == 0 ? knack : model.retrievability(static_cast<double>(examAt - s.lastMs) / kDay, s.stability);
        }
        Bin& bin = bins[std::min(9, static_cast<int>(predicted * 10))];
        for (int p = 0; p < papersEach; ++p) {
            std::vector<int> picked = draw.draw(bankSize, examSize);
            int score = 0;
            for (int s = 1; s <= examSize; ++s)
                score += unit(rng) < trueRecall[static_cast<std::size_t>(picked[static_cast<std::size_t>(s)])];
            bin.predicted += predicted;
            bin.passed += score >= PassChance::passScore(examSize) ? 1 : 0;
            ++bin.papers;
        }
    }

    std::printf("| predicted | papers | mean predicted | passed |\n|---|---|---|---|\n");
    for (int b = 0; b < 10; ++b) {
        const Bin& bin = bins[b];
        if (bin.papers == 0) continue;
        double predicted = bin.predicted / bin.papers, passed = bin.passed / bin.papers;
        std::printf("| %d–%d %% | %d | %.1f %% | %.1f %% |\n", b * 10, b * 10 + 10, bin.papers, predicted * 100, passed * 100);
        if (bin.papers < 200) continue;
        // Within a few points: 3 points plus two standard errors of the bin.
        double se = std::sqrt(std::max(passed * (1 - passed), 0.01) / bin.papers);
        EXPECT_NEAR(predicted, passed, 0.03 + 2 * se) << "bin " << b;
    }
    // The simulation spans the range the figure is meant for.
    EXPECT_GT(bins[0].papers, 0);
    EXPECT_GT(bins[9].papers, 0);
}

} // namespace
