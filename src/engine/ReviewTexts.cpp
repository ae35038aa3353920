#include "engine/ReviewTexts.h"

#include <cmath>

namespace cxb {

std::string ReviewTexts::comeBack(int days) {
    if (days <= 0) return "今天再复习";
    return std::to_string(days) + " 天后再复习";
}

std::string ReviewTexts::chance(double probability) {
    const double percent = probability * 100.0;
    if (percent < 0.5) return "不到 1 %";
    if (percent >= 99.5) return "超过 99 %";
    return "约 " + std::to_string(static_cast<int>(std::lround(percent))) + " %";
}

std::string ReviewTexts::passLine(const PassEstimate& e) {
    if (e.examSize <= 0) return {};
    return "现在考试，通过的可能" + chance(e.probability);
}

std::string ReviewTexts::passLines(const PassEstimate& e) {
    std::string line = passLine(e);
    if (!line.empty() && !e.reason.empty()) line += "\n（" + e.reason + "）";
    return line;
}

std::string ReviewTexts::dueToday(const DueCounts& due, int newLeft) {
    if (due[0] <= 0 && newLeft <= 0) return "今天没有要复习的题目";
    std::string s = "今天到期 " + std::to_string(due[0]) + " 题";
    if (newLeft > 0) s += "，还可做新题 " + std::to_string(newLeft) + " 道";
    return s;
}

std::string ReviewTexts::dueWeek(const DueCounts& due) {
    int total = 0;
    std::string days;
    for (std::size_t d = 1; d < due.size(); ++d) {
        total += due[d];
        days += (d > 1 ? "、" : "") + std::to_string(due[d]);
    }
    if (total == 0) return "之后七天没有到期的题目";
    return "之后七天到期 " + std::to_string(total) + " 题（明天起每天 " + days + "）";
}

} // namespace cxb
