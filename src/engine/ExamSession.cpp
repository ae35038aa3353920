#include "engine/ExamSession.h"

#include <cstring>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/JournalPort.h"
#include "engine/QuestionPresenter.h"
#include "engine/Texts.h"

namespace cxb {

ExamSession::ExamSession(Session& s, QuestionPresenter& view)
    : s_(s), view_(view), clock_([] { return std::time(nullptr); }) {}

void ExamSession::startClock() {
    s_.examStart = static_cast<long long>(clock_());
    s_.port.startTimer(Tmr::tmruptime, 1000);
    tmruptimeTimer(); // the label reads right from the start, not after a second
    s_.port.setVisible(Ctl::lbl1, true);
}

std::string ExamSession::countdownText(long long r) {
    if (r > 60)
        return "据考试结束还有：" + std::to_string(r / 60) + "分钟" + std::to_string(r % 60) + "秒，时间充足";
    if (r >= 1) return "据考试结束还有：" + std::to_string(r) + "秒，加油";
    return "你看看！时间都变成负数了！" + std::to_string(r) + "秒";
}

void ExamSession::tmruptimeTimer() {
    long long r = static_cast<long long>(s_.state->examSeconds) - (static_cast<long long>(clock_()) - s_.examStart);
    s_.port.setText(Ctl::lbl1, countdownText(r));
}

int ExamSession::score() const {
    int score = 0;
    for (int i = 1; i <= s_.listCount; ++i) {
        const ListEntry& e = s_.list[static_cast<std::size_t>(i)];
        if (e.userAnswer != 0 && e.userAnswer == e.answer) ++score;
    }
    return score;
}

void ExamSession::JIAOJUANClick() {
    s_.port.stopTimer(Tmr::tmruptime);
    finishExam(score());
}

std::string ExamSession::resultText(int score) {
    const std::string n = std::to_string(score);
    const char* nl = "\r\n";
    if (score < 30)
        return "你的分数是:" + n + "；" + nl + "刚开始，谁都是这个分数，别灰心;" + nl + "使用《驰学宝》你会考到一百分的";
    if (score < 50)
        return "你的分数是:" + n + "；" + nl + "刚开始，谁都是这个分数，别灰心;" + nl +
               "多努力些，使用《驰学宝》你会考到一百分的";
    if (score < 60) return "你的分数是:" + n + "；" + nl + "有一点不及格，没关系，使用《驰学宝》你会考到一百分的";
    if (score < 80)
        return "你的分数是：" + n + nl + "不及格，别以为大于60分你就及格了。" + nl +
               "使用《驰学宝》的咱应该考更高分滴！稍微一努力咱就能考到90分以上了！" + nl + "建议你到“错误集练习”玩玩！";
    if (score < 90)
        return "你的分数是：" + n + nl + "不及格，别以为大于60分你就及格了。" + nl + "使用《驰学宝》的咱应该考100分滴！" +
               nl + "建议你到“错误集练习”玩玩！";
    if (score < 95) return std::string("恭喜你！") + nl + "你的分数是:" + n + nl + "但是还不够好，" + nl + "我当年轻松就能拿到满分的！";
    if (score == 100) return std::string("呀！") + nl + "你的分数是:100分！" + nl + "可惜啊！在我这考试不算事。";
    return std::string("恭喜你！") + nl + "你的分数是:" + n + nl + "可以去考试了！" + nl + "但我还是希望你再练练!";
}

std::string ExamSession::takenAtText(std::time_t when) {
    std::tm t{};
    localtime_r(&when, &t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d年%02d月%02d日%02d点%02d分%02d秒", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

std::string ExamSession::bankTag(const Sfile& state) {
    switch (state.bankChoice) {
    case 2: return "TKkeche";
    case 3: return "TKhuoche";
    case 4: return std::string(readField(state.bankPath));
    default: return "TKxiaoche";
    }
}

std::string ExamSession::storedBankTag(const std::string& tag) {
    const std::size_t room = sizeof(HistoryEntry::bankTag) - 1;
    std::size_t i = 0;
    while (tag.size() - i > room) {
        unsigned char c = static_cast<unsigned char>(tag[i]);
        i += (c >= 0x81 && c <= 0xFE && i + 1 < tag.size()) ? 2 : 1;
    }
    return tag.substr(i);
}

void ExamSession::finishExam(int score) {
    s_.hidePanels();
    s_.port.setVisible(Ctl::Panel2, true);
    // "再次挑战刚刚错题" only when something was missed; a full score after an
    // earlier miss hides it again.
    s_.port.setVisible(Ctl::btn3, score < 100);
    s_.port.setText(Ctl::LabelMessage, resultText(score));
    if (onResultShown) onResultShown();
    Sfile& st = *s_.state;
    if (usableHistoryCount(st) >= Sfile::kMaxHistory) {
        s_.message("没法记录了，请删除一些历史记录。");
        return;
    }
    st.historyCount = usableHistoryCount(st) + 1;
    HistoryEntry& h = st.history[st.historyCount];
    writeField(h.takenAt, gbk::fromUtf8Lossy(takenAtText(clock_())));
    h.score = score;
    writeField(h.bankTag, storedBankTag(bankTag(st)));
    int n = std::min(s_.listCount, static_cast<int>(HistoryEntry::kMaxItems));
    h.itemCount = n;
    for (int i = 1; i <= n; ++i) {
        const ListEntry& e = s_.list[static_cast<std::size_t>(i)];
        h.items[i].questionId = e.id;
        h.items[i].userAnswer = e.userAnswer;
        h.items[i].firstRight = e.firstRight ? 1 : 0;
    }
    // The exam is in the journal before the state file is tried, so that a
    // save that fails, or never ends, loses nothing.
    if (s_.journal) s_.journal->handedIn(h);
    for (;;) {
        std::string detail;
        FileProblem problem = FileProblem::None;
        const int code = StateFile::saveState(st, s_.statePath(), &detail, &problem);
        if (code == 0) {
            if (s_.journal) s_.journal->stateSaved();
            return;
        }
        if (!s_.fileRetry(texts::stateSaveFailed(code), s_.statePath(), problem, texts::kRetryExam)) return;
    }
}

void ExamSession::btn1Click() {
    s_.port.setVisible(Ctl::Panel2, false);
    s_.displayMode = 2;
    s_.current = 1;
    s_.listAnswered = 0;
    s_.listRight = 0;
    view_.showQuestion(0);
}

} // namespace cxb
