#pragma once

namespace cxb {

// The modeCode of the practice lists whose questions are chosen rather than
// sorted out of the bank. The codes follow the original's 0..5 and are what
// the answer journal records as an answer's mode.
struct ChosenModes {
    static constexpr int kChapter = 6;     // 章节练习 and 专项练习, in sequential order
    static constexpr int kRandom = 7;      // 随机练习
    static constexpr int kFavourites = 8;  // 我的收藏
    static constexpr int kSmartReview = 9; // 智能复习
    static constexpr int kFirst = kChapter;
    static constexpr int kLast = kSmartReview;
};

} // namespace cxb
