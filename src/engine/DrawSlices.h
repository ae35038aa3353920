#pragma once
#include <vector>

namespace cxb {

// Which records the mock exam's draw can put in each slot of a paper, and
// how often. For slot s of n over C records, every r in 0..C−1 is equally
// likely and lands on record round(float((r + (s−1)·C + 1) / n)), clipped
// to C; record 0 is drawn again, so it counts for nothing (ExamDraw). The
// records of a slot come in runs, about C/n of them, kept as record and
// count, so a slot's mean costs its runs rather than C.
class DrawSlices {
public:
    DrawSlices(int bankCount, int examSize);

    int bankCount() const { return bankCount_; }
    int examSize() const { return examSize_; }

    // For slots 1..n (result[0] unused), the mean of `recall` (indexed by
    // record 1..bankCount) over the draws of the slot; 0 for a slot that
    // can only draw record 0.
    std::vector<double> slotMeans(const std::vector<double>& recall) const;

private:
    struct Run {
        int record;
        int count;
    };
    int bankCount_;
    int examSize_;
    std::vector<Run> runs_;
    std::vector<std::size_t> slotStart_; // slot s's runs are [slotStart_[s-1], slotStart_[s])
    std::vector<long long> slotDraws_;   // draws of slot s that land on a record
};

} // namespace cxb
