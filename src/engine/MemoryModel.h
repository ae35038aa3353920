#pragma once
#include <array>
#include <cstdint>

namespace cxb {

// How well a learner knows one question: the FSRS-6 memory state.
// Stability is the number of days after which recall falls to 90 %;
// difficulty runs from 1 (easy) to 10 (hard).
struct MemoryState {
    double stability = 0.0;
    double difficulty = 0.0;
    std::int64_t lastMs = 0; // when the question was last answered
    int answers = 0;
    int lapses = 0;          // wrong answers after the first
};

// The FSRS-6 memory model with its published default weights. Every answer
// is graded: right is 3 (Good), wrong is 1 (Again). Time is in days.
class MemoryModel {
public:
    static constexpr int kAgain = 1;
    static constexpr int kGood = 3;
    static constexpr double kMsPerDay = 86400000.0;
    using Weights = std::array<double, 21>;
    static const Weights kDefaultWeights;

    explicit MemoryModel(const Weights& w = kDefaultWeights);

    // The chance of recall `days` after the last answer with this stability:
    // (1 + factor·t/S)^(−decay), factor = 0.9^(−1/decay) − 1, so R(S) = 0.9.
    double retrievability(double days, double stability) const;
    // The days after which recall falls to `retention`.
    double interval(double stability, double retention) const;

    double initialStability(int grade) const;
    double initialDifficulty(int grade) const; // clamped to 1..10
    // The difficulty after an answer: a step against the grade, damped
    // toward 10, then pulled a little back toward the easiest first answer.
    double nextDifficulty(double difficulty, int grade) const;
    // Stability after a right answer at recall chance r.
    double stabilityAfterSuccess(double stability, double difficulty, double r) const;
    // Stability after a wrong answer at recall chance r; never above what a
    // same-day lapse would leave.
    double stabilityAfterLapse(double stability, double difficulty, double r) const;
    // Stability after an answer on the same day as the previous one.
    double stabilitySameDay(double stability, int grade) const;

    // The state after one more answer at `atMs`. A state with no answers yet
    // takes the first-answer values. Answers on the same calendar day
    // (`sameDay`) use the short-term rule.
    MemoryState answer(const MemoryState& before, bool right, std::int64_t atMs, bool sameDay) const;

    double decay() const { return w_[20]; }
    double factor() const { return factor_; }
    const Weights& weights() const { return w_; }

private:
    Weights w_;
    double factor_;
    double growthScale_;  // e^w8
    double lapseCap_;     // e^(w17·w18)
    double easiest_;      // the unclamped difficulty of a first Easy
};

} // namespace cxb
