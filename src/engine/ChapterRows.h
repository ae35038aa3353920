#pragma once
#include <string>
#include <vector>

#include "engine/FiledScope.h"
#include "engine/FilingFigures.h"

namespace cxb {

// One row of the 章节练习、专项练习 window: a chapter, a topic beneath
// the chapter most of its questions are filed in, or 未分类.
struct ChapterRow {
    enum class Level { Chapter, Topic, Unfiled };
    Level level = Level::Chapter;
    std::string name; // what the row and the practice list's caption say
    FiledScope scope;
    FilingCount count;
    // The bar: the share of the row's questions answered at least once, in
    // whole percent (rounded down, so 100 only when every one is answered).
    int answeredPercent = 0;
    std::string barText; // "37%"
    // A row without questions is listed but cannot start a list.
    bool choosable() const { return count.questions > 0; }
    bool operator==(const ChapterRow&) const = default;
};

// The rows of the chapter window, in the order it lists them: each of the
// four chapters followed by its topics in QuestionTopics order, then 未分类
// when the bank has questions filed under neither. A topic without
// questions in this bank is left out; a chapter is always listed.
class ChapterRows {
public:
    static std::vector<ChapterRow> of(const FilingFigures& figures);
    // The column headings, name first, bar last (UTF-8).
    static const std::vector<std::string>& headings();
    // The row's figures as the window's columns after the name.
    static std::vector<std::string> columns(const ChapterRow& row);
};

} // namespace cxb
