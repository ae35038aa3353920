#include "engine/MemoryModel.h"

#include <algorithm>
#include <cmath>

namespace cxb {

namespace {
constexpr double kMinStability = 0.001;
double clampDifficulty(double d) { return std::clamp(d, 1.0, 10.0); }
} // namespace

// The published FSRS-6 default weights w0..w20.
const MemoryModel::Weights MemoryModel::kDefaultWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

MemoryModel::MemoryModel(const Weights& w)
    : w_(w), factor_(std::pow(0.9, -1.0 / w[20]) - 1.0), growthScale_(std::exp(w[8])),
      lapseCap_(std::exp(w[17] * w[18])), easiest_(w[4] - std::exp(w[5] * 3.0) + 1.0) {}

double MemoryModel::retrievability(double days, double stability) const {
    if (stability <= 0.0) return 0.0;
    return std::pow(1.0 + factor_ * std::max(days, 0.0) / stability, -w_[20]);
}

double MemoryModel::interval(double stability, double retention) const {
    return stability / factor_ * (std::pow(retention, -1.0 / w_[20]) - 1.0);
}

double MemoryModel::initialStability(int grade) const {
    return std::max(w_[static_cast<std::size_t>(grade - 1)], kMinStability);
}

double MemoryModel::initialDifficulty(int grade) const {
    return clampDifficulty(w_[4] - std::exp(w_[5] * (grade - 1)) + 1.0);
}

double MemoryModel::nextDifficulty(double difficulty, int grade) const {
    double delta = -w_[6] * (grade - 3);
    double damped = difficulty + delta * (10.0 - difficulty) / 9.0;
    // Mean reversion toward the unclamped difficulty of a first "Easy".
    return clampDifficulty(w_[7] * easiest_ + (1.0 - w_[7]) * damped);
}

double MemoryModel::stabilityAfterSuccess(double s, double d, double r) const {
    double growth = growthScale_ * (11.0 - d) * std::pow(s, -w_[9]) * (std::exp(w_[10] * (1.0 - r)) - 1.0);
    return s * (growth + 1.0);
}

double MemoryModel::stabilityAfterLapse(double s, double d, double r) const {
    double longTerm = w_[11] * std::pow(d, -w_[12]) * (std::pow(s + 1.0, w_[13]) - 1.0) * std::exp(w_[14] * (1.0 - r));
    double shortTerm = s / lapseCap_;
    return std::max(std::min(longTerm, shortTerm), kMinStability);
}

double MemoryModel::stabilitySameDay(double s, int grade) const {
    double inc = std::exp(w_[17] * (grade - 3 + w_[18])) * std::pow(s, -w_[19]);
    if (grade >= kGood) inc = std::max(inc, 1.0);
    return std::max(s * inc, kMinStability);
}

MemoryState MemoryModel::answer(const MemoryState& before, bool right, std::int64_t atMs, bool sameDay) const {
    const int grade = right ? kGood : kAgain;
    MemoryState after = before;
    after.answers = before.answers + 1;
    after.lastMs = atMs;
    if (before.answers == 0) {
        after.stability = initialStability(grade);
        after.difficulty = initialDifficulty(grade);
        after.lapses = 0;
        return after;
    }
    if (sameDay) {
        after.stability = stabilitySameDay(before.stability, grade);
    } else {
        double days = static_cast<double>(atMs - before.lastMs) / kMsPerDay;
        double r = retrievability(days, before.stability);
        after.stability = right ? stabilityAfterSuccess(before.stability, before.difficulty, r)
                                : stabilityAfterLapse(before.stability, before.difficulty, r);
    }
    after.difficulty = nextDifficulty(before.difficulty, grade);
    if (!right) ++after.lapses;
    return after;
}

} // namespace cxb
