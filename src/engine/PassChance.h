#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/DrawSlices.h"
#include "engine/MemoryBook.h"

namespace cxb {

// How likely a mock exam taken now reaches the pass line.
struct PassEstimate {
    double probability = 0.0; // 0..1
    int examSize = 0;
    int passScore = 0;        // right answers the pass line takes
    double expectedScore = 0.0;
    int answered = 0;         // questions of the bank with a memory state
    int questions = 0;
    double prior = 0.0;       // the recall guessed for a never-answered question
    std::string reason;       // why the figure is low, when it is
};

// The pass chance from each question's recall now. A mock exam's slot s
// takes a record from its own slice of the bank, every record of the slice
// about equally likely (ExamDraw); the slot is right with the slice's mean
// recall, slots are independent, and the score is their Poisson-binomial
// sum. A never-answered question gets the share of the learner's first
// answers that were right, shrunk toward a new learner's 60 %.
class PassChance {
public:
    static constexpr double kNewLearnerRecall = 0.6;
    static constexpr double kPriorWeight = 5.0; // first answers the default counts as

    // The right answers a paper of n questions takes to pass: 90 of 100.
    static int passScore(int examSize);
    static double prior(const MemoryBook& book);
    // For slots 1..n (result[0] unused), the mean of `recall` (indexed by
    // record position 1..bankCount) over the records ExamDraw can put there.
    static std::vector<double> slotRecall(const std::vector<double>& recall, int bankCount, int examSize);
    // P(score = k) for k = 0..p.size() from independent chances p.
    static std::vector<double> scoreDistribution(const std::vector<double>& p);

    // `bankIds` are the bank's question ids in record order (record 1 first).
    static PassEstimate estimate(const MemoryBook& book, const std::vector<std::int32_t>& bankIds, int examSize,
                                 std::int64_t nowMs);
    // The same with the slices worked out beforehand, for many estimates
    // over one bank; slices of another bank size are worked out again.
    static PassEstimate estimate(const MemoryBook& book, const std::vector<std::int32_t>& bankIds,
                                 const DrawSlices& slices, std::int64_t nowMs);
    // The exam size an estimate uses: the paper, never more than the bank.
    static int examSizeFor(int examSize, int bankCount);
};

} // namespace cxb
