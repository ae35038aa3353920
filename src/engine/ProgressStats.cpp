#include "engine/ProgressStats.h"

#include <algorithm>
#include <cstdio>

#include "data/Bank.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/Sfile.h"
#include "engine/ExamSession.h"

namespace cxb {
namespace {

double percentOf(std::int64_t part, std::int64_t whole) {
    return whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

std::string tipOf(const PaperPoint& p) {
    return "第 " + std::to_string(p.order) + " 次  " + p.takenAt + "\n答对 " + std::to_string(p.score) + " 题，共 " +
           std::to_string(p.itemCount) + " 题：" + ProgressStats::number(p.percent) + " 分";
}

void count(ProgressGroup& g, const QuestionRecord& r) {
    ++g.questions;
    const std::int64_t right = std::max<std::int32_t>(r.rightCount, 0);
    const std::int64_t wrong = std::max<std::int32_t>(r.wrongCount, 0);
    if (wrong > 0)
        ++g.everWrong;
    else if (right > 0 || r.answerCount > 0)
        ++g.neverWrong;
    else
        ++g.neverAnswered;
    g.rightAnswers += right;
    g.answers += right + wrong;
}

void finish(ProgressGroup& g) {
    g.accuracy = percentOf(g.rightAnswers, g.answers);
    g.accuracyText = g.answers == 0 ? std::string("还没有作答")
                                    : ProgressStats::number(g.accuracy) + "%（" + std::to_string(g.rightAnswers) +
                                          "/" + std::to_string(g.answers) + "）";
    g.accuracyShort = g.answers == 0 ? std::string("—") : ProgressStats::number(g.accuracy) + "%";
}

} // namespace

std::string ProgressStats::number(double percent) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", percent);
    std::string s = buf;
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
    return s;
}

std::string ProgressStats::readinessText(int count, int passed) {
    if (count <= 0) return kNoPapers;
    std::string s = "最近 " + std::to_string(count) + " 次中有 " + std::to_string(passed) + " 次达到 " +
                    std::to_string(kPassPercent) + " 分";
    if (count < kAverageOver) return s + "，再多考几次才看得出是否稳定。";
    if (passed * 10 >= count * 9) return s + "，可以去考试了！";
    if (passed * 2 >= count) return s + "，离稳定及格不远了，再巩固一下。";
    return s + "，还需要多练练，“错误集”里的题值得再做一遍。";
}

ScoreTrend ProgressStats::scoreTrend(const Sfile& state) {
    ScoreTrend t;
    // The comparison that decides whether a recorded paper may be reopened.
    const std::string loaded = ExamSession::storedBankTag(ExamSession::bankTag(state));
    const int n = usableHistoryCount(state);
    for (int slot = 1; slot <= n; ++slot) {
        const HistoryEntry& e = state.history[slot];
        const int items = usableItemCount(e);
        if (items == 0 || readField(e.bankTag) != loaded) continue;
        PaperPoint p;
        p.entry = slot;
        p.order = static_cast<int>(t.papers.size()) + 1;
        p.takenAt = gbk::toUtf8Lossy(readField(e.takenAt));
        p.itemCount = items;
        p.score = std::clamp<std::int32_t>(e.score, 0, items);
        p.percent = percentOf(p.score, items);
        p.passed = p.score * 100 >= kPassPercent * items;
        p.tip = tipOf(p);
        t.papers.push_back(std::move(p));
    }

    // The running mean over a window of five: add the new paper, drop the
    // one that left the window.
    double sum = 0;
    for (std::size_t i = 0; i < t.papers.size(); ++i) {
        sum += t.papers[i].percent;
        if (i >= kAverageOver) sum -= t.papers[i - kAverageOver].percent;
        const std::size_t over = std::min<std::size_t>(i + 1, kAverageOver);
        t.papers[i].recentAverage = sum / static_cast<double>(over);
    }
    if (!t.papers.empty()) {
        // Summed afresh, so the figure shown carries no rounding of the window.
        const std::size_t size = t.papers.size();
        t.averageCount = static_cast<int>(std::min<std::size_t>(size, kAverageOver));
        double last = 0;
        for (std::size_t i = size - static_cast<std::size_t>(t.averageCount); i < size; ++i) last += t.papers[i].percent;
        t.lastAverage = last / t.averageCount;
        t.recentCount = static_cast<int>(std::min<std::size_t>(size, kReadinessOver));
        for (std::size_t i = size - static_cast<std::size_t>(t.recentCount); i < size; ++i)
            if (t.papers[i].passed) ++t.recentPassed;
        t.averageText = "最近 " + std::to_string(t.averageCount) + " 次平均 " + number(t.lastAverage) + " 分";
    }
    t.readiness = readinessText(t.recentCount, t.recentPassed);
    return t;
}

BankProgress ProgressStats::bankProgress(const Bank& bank) {
    BankProgress p;
    p.total.name = "全部";
    p.byType = {ProgressGroup{}, ProgressGroup{}, ProgressGroup{}};
    p.byType[0].name = "判断题";
    p.byType[1].name = "单选题";
    p.byType[2].name = "多选题";
    const int n = bank.questionCount();
    for (int i = 1; i <= n; ++i) {
        const QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        count(p.total, r);
        switch (r.type) {
        case kTrueFalse: count(p.byType[0], r); break;
        case kSingleChoice: count(p.byType[1], r); break;
        case kMultipleChoice: count(p.byType[2], r); break;
        default: break; // a type of no group counts in the whole bank only
        }
    }
    finish(p.total);
    for (ProgressGroup& g : p.byType) finish(g);
    return p;
}

} // namespace cxb
