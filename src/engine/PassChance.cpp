#include "engine/PassChance.h"

#include <algorithm>
#include <cstdio>

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
    std::vector<double> slots(static_cast<std::size_t>(std::max(examSize, 0)) + 1, 0.0);
    if (bankCount <= 0 || examSize <= 0) return slots;
    const std::int64_t c = bankCount;
    for (int s = 1; s <= examSize; ++s) {
        // The same arithmetic as the draw: every r in 0..C−1 is equally
        // likely and lands on record k; record 0 is drawn again.
        double sum = 0.0;
        std::int64_t count = 0;
        for (std::int64_t r = 0; r < c; ++r) {
            std::int64_t d = r + (s - 1) * c + 1;
            float q = static_cast<float>(static_cast<double>(d) / static_cast<double>(examSize));
            int k = static_cast<int>(static_cast<double>(q) + 0.5);
            if (k == 0) continue;
            k = std::min(k, bankCount);
            sum += recall[static_cast<std::size_t>(k)];
            ++count;
        }
        slots[static_cast<std::size_t>(s)] = count ? sum / static_cast<double>(count) : 0.0;
    }
    return slots;
}

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
    PassEstimate e;
    const int c = static_cast<int>(bankIds.size());
    e.questions = c;
    e.examSize = std::clamp(examSize, 0, c);
    e.passScore = passScore(e.examSize);
    e.prior = prior(book);
    std::vector<double> recall(static_cast<std::size_t>(c) + 1, 0.0);
    for (int k = 1; k <= c; ++k) {
        double r = book.retrievability(bankIds[static_cast<std::size_t>(k - 1)], nowMs);
        if (r >= 0.0) ++e.answered;
        recall[static_cast<std::size_t>(k)] = r >= 0.0 ? r : e.prior;
    }
    if (e.examSize == 0) return e;
    std::vector<double> slots = slotRecall(recall, c, e.examSize);
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
