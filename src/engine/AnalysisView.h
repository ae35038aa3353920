#pragma once
#include <string>

namespace cxb {

// What the question analysis dialog ("本题属性") shows.
struct AnalysisView {
    std::string label7; // "本题ID为：" + id
    std::string label8; // "答案:" + answer text
    std::string text;   // Metx
    bool hasCounters = false; // false: the counter edits keep what they showed
    std::string rightCount, wrongCount, answerCount;
    bool pictureVisible = false;
    std::string picture; // native path
    // Shown instead of the picture when the file is there but holds no
    // picture that can be read.
    std::string pictureUnreadable;
    // Whether the question is starred (我的收藏), and how the dialog says it.
    bool starred = false;
    std::string starText;
};

} // namespace cxb
