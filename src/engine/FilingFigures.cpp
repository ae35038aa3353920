#include "engine/FilingFigures.h"

#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"

namespace cxb {
namespace {

// The same reading of the counters as the progress view's: a question wrong
// once is ever wrong; one answered (right, or counted) and never wrong is
// never wrong.
void count(FilingCount& c, const QuestionRecord& r) {
    ++c.questions;
    if (r.wrongCount > 0) {
        ++c.everWrong;
        ++c.answered;
    } else if (r.rightCount > 0 || r.answerCount > 0) {
        ++c.neverWrong;
        ++c.answered;
    }
}

} // namespace

FilingFigures FilingFigures::of(const Bank& bank) {
    FilingFigures f;
    f.chapters.resize(QuestionTopics::kChapters.size() + 1);
    f.topics.resize(QuestionTopics::kTopics.size() + 1);
    constexpr std::size_t kChapters = QuestionTopics::kChapters.size();
    std::vector<int> pairs(QuestionTopics::kTopics.size() * kChapters); // topic-major
    for (int i = 1; i <= bank.questionCount(); ++i) {
        const QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        const QuestionFiling filing = QuestionFiling::of(r);
        const std::size_t chapter = filing.filed() ? static_cast<std::size_t>(filing.chapter) : QuestionTopics::kChapters.size();
        const std::size_t topic = filing.filed() ? static_cast<std::size_t>(filing.topic) : QuestionTopics::kTopics.size();
        count(f.chapters[chapter], r);
        count(f.topics[topic], r);
        if (filing.filed()) ++pairs[topic * kChapters + chapter];
    }
    f.topicChapters.assign(QuestionTopics::kTopics.size(), -1);
    for (std::size_t t = 0; t < QuestionTopics::kTopics.size(); ++t) {
        int most = 0;
        for (std::size_t c = 0; c < kChapters; ++c)
            if (pairs[t * kChapters + c] > most) {
                most = pairs[t * kChapters + c];
                f.topicChapters[t] = static_cast<int>(c);
            }
    }
    return f;
}

} // namespace cxb
