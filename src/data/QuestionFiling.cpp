#include "data/QuestionFiling.h"

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/QuestionTopics.h"

namespace cxb {
namespace {

int indexIn(const auto& list, std::string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == name) return static_cast<int>(i);
    return -1;
}

} // namespace

int QuestionFiling::chapterIndex(std::string_view name) { return indexIn(QuestionTopics::kChapters, name); }
int QuestionFiling::topicIndex(std::string_view name) { return indexIn(QuestionTopics::kTopics, name); }

QuestionFiling QuestionFiling::stored(const QuestionRecord& r) {
    if (r.reserved[0] != kMark0 || r.reserved[1] != kMark1) return {};
    int chapter = static_cast<unsigned char>(r.reserved[2]) - 1;
    int topic = static_cast<unsigned char>(r.reserved[3]) - 1;
    if (chapter < 0 || chapter >= static_cast<int>(QuestionTopics::kChapters.size())) return {};
    if (topic < 0 || topic >= static_cast<int>(QuestionTopics::kTopics.size())) return {};
    return {chapter, topic};
}

QuestionFiling QuestionFiling::fromPicture(std::string_view picture) {
    std::size_t slash = picture.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? picture : picture.substr(slash + 1);
    struct Prefix {
        std::string_view prefix;
        std::string_view topic;
    };
    static constexpr Prefix kPrefixes[] = {
        {"sign_", "标志"}, {"mark_", "标线"}, {"light_", "信号灯"}, {"police_", "手势"}};
    for (const Prefix& p : kPrefixes)
        if (name.size() > p.prefix.size() && name.substr(0, p.prefix.size()) == p.prefix)
            return {chapterIndex("道路交通信号"), topicIndex(p.topic)};
    return {};
}

QuestionFiling QuestionFiling::of(const QuestionRecord& r) {
    QuestionFiling f = stored(r);
    if (f.filed()) return f;
    auto picture = gbk::toUtf8(readField(r.picture));
    return picture ? fromPicture(*picture) : QuestionFiling{};
}

void QuestionFiling::store(QuestionRecord& r, QuestionFiling filing) {
    r.reserved[0] = kMark0;
    r.reserved[1] = kMark1;
    r.reserved[2] = static_cast<char>(filing.chapter + 1);
    r.reserved[3] = static_cast<char>(filing.topic + 1);
}

} // namespace cxb
