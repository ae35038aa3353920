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
    for (int i = 1; i <= bank.questionCount(); ++i) {
        const QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        const QuestionFiling filing = QuestionFiling::of(r);
        const std::size_t chapter = filing.filed() ? static_cast<std::size_t>(filing.chapter) : QuestionTopics::kChapters.size();
        const std::size_t topic = filing.filed() ? static_cast<std::size_t>(filing.topic) : QuestionTopics::kTopics.size();
        count(f.chapters[chapter], r);
        count(f.topics[topic], r);
    }
    return f;
}

} // namespace cxb
