#pragma once
#include <array>
#include <string>

#include "engine/Controls.h"

namespace cxb {

// What the question panel shows for one list entry, worked out by
// showQuestion and handed to the window in one piece.
struct QuestionView {
    std::string label2; // "本题ID：" + id
    std::string label3; // position "3/10"
    std::string label7; // hint line
    std::string memo1;  // question text
    bool checkBox1Visible = true;

    bool label4Visible = false;
    std::string label4; // the learner's answer and the judgement
    bool image2Visible = false;
    std::string image2; // judgement mark (native path); empty: keep the picture it has
    std::string comeBack; // after a practice answer: "3 天后再复习"; empty: nothing shown

    bool pictureVisible = false;
    std::string picture; // native path of the question's picture

    AnswerPanel panel = AnswerPanel::None;

    // The star button btnxingbiao: whether the question on show is starred
    // (我的收藏) and the button's caption; an empty list has no question to star.
    bool starEnabled = false;
    bool starred = false;
    std::string starCaption;
};

} // namespace cxb
