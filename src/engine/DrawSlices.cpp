#include "engine/DrawSlices.h"

#include <algorithm>
#include <cstdint>

namespace cxb {

DrawSlices::DrawSlices(int bankCount, int examSize)
    : bankCount_(std::max(bankCount, 0)), examSize_(bankCount > 0 ? std::max(examSize, 0) : 0) {
    slotStart_.push_back(0);
    slotDraws_.push_back(0);
    const std::int64_t c = bankCount_;
    for (int s = 1; s <= examSize_; ++s) {
        long long draws = 0;
        for (std::int64_t r = 0; r < c; ++r) {
            // The same arithmetic as the draw, float rounding included.
            std::int64_t d = r + (s - 1) * c + 1;
            float q = static_cast<float>(static_cast<double>(d) / static_cast<double>(examSize_));
            int k = static_cast<int>(static_cast<double>(q) + 0.5);
            if (k == 0) continue;
            k = std::min(k, bankCount_);
            ++draws;
            if (runs_.size() > slotStart_.back() && runs_.back().record == k)
                ++runs_.back().count;
            else
                runs_.push_back({k, 1});
        }
        slotStart_.push_back(runs_.size());
        slotDraws_.push_back(draws);
    }
}

std::vector<double> DrawSlices::slotMeans(const std::vector<double>& recall) const {
    std::vector<double> means(static_cast<std::size_t>(examSize_) + 1, 0.0);
    for (int s = 1; s <= examSize_; ++s) {
        const auto slot = static_cast<std::size_t>(s);
        if (slotDraws_[slot] == 0) continue;
        double sum = 0.0;
        for (std::size_t i = slotStart_[slot - 1]; i < slotStart_[slot]; ++i) {
            const Run& run = runs_[i];
            const auto k = static_cast<std::size_t>(run.record);
            if (k < recall.size()) sum += recall[k] * run.count;
        }
        means[slot] = sum / static_cast<double>(slotDraws_[slot]);
    }
    return means;
}

} // namespace cxb
