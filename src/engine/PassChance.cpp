#include "engine/PassChance.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "engine/ProgressStats.h"

namespace cxb {

int PassChance::passScore(int examSize) {
    // The least score with score·100 ≥ 90·n, as a paper is judged.
    const int pct = ProgressStats::kPassPercent;
    return (examSize * pct + 99) / 100;
}

double PassChance::prior(const MemoryBook& book) {
    return (book.firstRight() + kNewLearnerRecall * kPriorWeight) / (book.firstAnswers() + kPriorWeight);
}

std::vector<double> PassChance::slotRecall(const std::vector<double>& recall, int bankCount, int examSize) {
    if (bankCount <= 0 || examSize <= 0) return std::vector<double>(static_cast<std::size_t>(std::max(examSize, 0)) + 1, 0.0);
    return DrawSlices(bankCount, examSize).slotMeans(recall);
}

int PassChance::examSizeFor(int examSize, int bankCount) { return std::clamp(examSize, 0, std::max(bankCount, 0)); }

std::vector<double> PassChance::scoreDistribution(const std::vector<double>& p) {
    std::vector<double> dist(p.size() + 1, 0.0);
    dist[0] = 1.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double pi = std::clamp(p[i], 0.0, 1.0);
        for (std::size_t k = i + 1; k > 0; --k) dist[k] = dist[k] * (1.0 - pi) + dist[k - 1] * pi;
        dist[0] *= 1.0 - pi;
    }
    return dist;
}

PassEstimate PassChance::estimate(const MemoryBook& book, const std::vector<std::int32_t>& bankIds, int examSize,
                                  std::int64_t nowMs) {
    const int c = static_cast<int>(bankIds.size());
    return estimate(book, bankIds, DrawSlices(c, examSizeFor(examSize, c)), nowMs);
}

PassEstimate PassChance::estimate(const MemoryBook& book, const std::vector<std::int32_t>& bankIds,
                                  const DrawSlices& given, std::int64_t nowMs) {
    PassEstimate e;
    const int c = static_cast<int>(bankIds.size());
    std::optional<DrawSlices> own;
    if (given.bankCount() != c || given.examSize() > c) own.emplace(c, examSizeFor(given.examSize(), c));
    const DrawSlices& slices = own ? *own : given;
    e.questions = c;
    e.examSize = slices.examSize();
    e.passScore = passScore(e.examSize);
    e.prior = prior(book);
    std::vector<double> recall(static_cast<std::size_t>(c) + 1, 0.0);
    for (int k = 1; k <= c; ++k) {
        double r = book.retrievability(bankIds[static_cast<std::size_t>(k - 1)], nowMs);
        if (r >= 0.0) ++e.answered;
        recall[static_cast<std::size_t>(k)] = r >= 0.0 ? r : e.prior;
    }
    if (e.examSize == 0) return e;
    std::vector<double> slots = slices.slotMeans(recall);
    slots.erase(slots.begin());
    for (double p : slots) e.expectedScore += p;
    std::vector<double> dist = scoreDistribution(slots);
    for (int k = e.passScore; k <= e.examSize; ++k) e.probability += dist[static_cast<std::size_t>(k)];
    e.probability = std::clamp(e.probability, 0.0, 1.0);

    if (e.probability < 0.5) {
        char buf[160];
        if (e.answered * 2 < c)
            std::snprintf(buf, sizeof buf, "%d 题中还有 %d 题没有答过，按新学员估计约答对 %.0f %%", c, c - e.answered,
                          e.prior * 100.0);
        else
            std::snprintf(buf, sizeof buf, "预计约答对 %.0f 题，及格要 %d 题", e.expectedScore, e.passScore);
        e.reason = buf;
    }
    return e;
}

} // namespace cxb
