#include "engine/ChapterRows.h"

#include "data/QuestionTopics.h"

namespace cxb {
namespace {

ChapterRow rowOf(ChapterRow::Level level, std::string_view name, FiledScope scope, const FilingCount& count) {
    ChapterRow row;
    row.level = level;
    row.name = std::string(name);
    row.scope = scope;
    row.count = count;
    row.answeredPercent = count.questions > 0 ? count.answered * 100 / count.questions : 0;
    row.barText = std::to_string(row.answeredPercent) + "%";
    return row;
}

} // namespace

std::vector<ChapterRow> ChapterRows::of(const FilingFigures& f) {
    std::vector<ChapterRow> rows;
    const std::size_t chapters = QuestionTopics::kChapters.size();
    const std::size_t topics = QuestionTopics::kTopics.size();
    if (f.chapters.size() < chapters + 1 || f.topics.size() < topics + 1) return rows;
    for (std::size_t c = 0; c < chapters; ++c) {
        rows.push_back(rowOf(ChapterRow::Level::Chapter, QuestionTopics::kChapters[c],
                             FiledScope::chapter(static_cast<int>(c)), f.chapters[c]));
        for (std::size_t t = 0; t < topics; ++t) {
            if (f.topics[t].questions == 0) continue;
            if (t >= f.topicChapters.size() || f.topicChapters[t] != static_cast<int>(c)) continue;
            rows.push_back(rowOf(ChapterRow::Level::Topic, QuestionTopics::kTopics[t],
                                 FiledScope::topic(static_cast<int>(t)), f.topics[t]));
        }
    }
    if (f.chapters[chapters].questions > 0)
        rows.push_back(rowOf(ChapterRow::Level::Unfiled, QuestionTopics::kUnfiled, FiledScope::unfiled(),
                             f.chapters[chapters]));
    return rows;
}

const std::vector<std::string>& ChapterRows::headings() {
    static const std::vector<std::string> h{"章节、专项", "题数", "已做", "从未做错", "做错过", "已做比例"};
    return h;
}

std::vector<std::string> ChapterRows::columns(const ChapterRow& row) {
    return {std::to_string(row.count.questions), std::to_string(row.count.answered),
            std::to_string(row.count.neverWrong), std::to_string(row.count.everWrong), row.barText};
}

} // namespace cxb
