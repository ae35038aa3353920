#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/AnswerJournal.h"
#include "engine/MemoryBook.h"

namespace cxb {

// A recorded paper as the trend of the pass chance needs it.
struct PaperMoment {
    std::int64_t atMs = -1; // when it was handed in; -1 unknown
    int examSize = 0;       // its questions
};

// The pass chance over time: at each recorded paper's hand-in, the chance a
// paper of its size drawn from the bank would have passed, from the answers
// the journal holds from before that moment. Each answer is replayed once,
// however many papers there are.
class PassTrend {
public:
    // A paper's time "2026年03月02日09点05分07秒" in the learner's calendar, in
    // milliseconds since the epoch; -1 when it is not such a time.
    static std::int64_t takenAtMs(const std::string& utf8, const LearnerDays& days);

    // For each paper (in the order given) the chance 0..1, or -1 for a paper
    // with no time or one older than every answer (the journal knows nothing
    // of the learner then). `answers` are the bank's in journal order;
    // `bankIds` the bank's ids in record order.
    static std::vector<double> chances(const std::vector<JournalAnswer>& answers, const std::vector<PaperMoment>& papers,
                                       const std::vector<std::int32_t>& bankIds, LearnerDays days);
};

} // namespace cxb
