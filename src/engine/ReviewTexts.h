#pragma once
#include <string>

#include "engine/PassChance.h"
#include "engine/SmartReview.h"

namespace cxb {

// What 智能复习 and the pass chance say to the learner (UTF-8).
class ReviewTexts {
public:
    // After an answer, when the question comes back: "3 天后再复习", or
    // "今天再复习" for today (0 or less).
    static std::string comeBack(int days);
    // A chance as the learner reads it: "约 73 %", "不到 1 %", "超过 99 %".
    static std::string chance(double probability);
    // "现在考试，通过的可能约 73 %"; "" when no paper can be drawn.
    static std::string passLine(const PassEstimate& e);
    // The pass line, and under it why the figure is low when it is.
    static std::string passLines(const PassEstimate& e);
    // What falls due today and how many new questions today's allowance
    // still has: "今天到期 12 题，还可做新题 20 道".
    static std::string dueToday(const DueCounts& due, int newLeft);
    // The next seven days: "之后七天到期 15 题（明天起每天 3、0、5、1、0、2、4）".
    static std::string dueWeek(const DueCounts& due);
};

} // namespace cxb
