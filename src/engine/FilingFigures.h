#pragma once
#include <vector>

#include "data/Bank.h"

namespace cxb {

// What the chapter and topic list shows for each entry.
struct FilingCount {
    int questions = 0;
    int answered = 0;   // answered at least once
    int neverWrong = 0; // answered, never wrong
    int everWrong = 0;  // wrong at least once
    bool operator==(const FilingCount&) const = default;
};

// The figures of the bank's questions by chapter and by topic. Entry i is
// chapter (topic) i of QuestionTopics; the entry after the last counts the
// questions filed under neither (未分类).
class FilingFigures {
public:
    static FilingFigures of(const Bank& bank);

    std::vector<FilingCount> chapters;
    std::vector<FilingCount> topics;
    // For each topic of QuestionTopics, the chapter most of its questions
    // are filed in (the first of those with as many), -1 when it has none.
    std::vector<int> topicChapters;
};

} // namespace cxb
