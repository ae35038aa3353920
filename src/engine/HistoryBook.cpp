#include "engine/HistoryBook.h"

#include "engine/JournalPort.h"

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/BankNames.h"
#include "engine/ExamSession.h"
#include "engine/PracticeModes.h"
#include "engine/QuestionPresenter.h"
#include "engine/Texts.h"

namespace cxb {

HistoryBook::HistoryBook(Session& s, PracticeModes& modes, QuestionPresenter& view)
    : s_(s), modes_(modes), view_(view) {}

STRUCT_TK HistoryBook::lookupQuestion(std::int32_t id) {
    if (id == cachedId_) return cached_;
    const int n = s_.questionCount();
    for (int i = 1; i <= n; ++i) {
        const QuestionRecord& r = s_.record(i);
        if (r.id != id) continue;
        cachedId_ = id;
        cached_.text = gbk::toUtf8Lossy(readField(r.text));
        cached_.answer = r.answer;
        cached_.picture = std::string(readField(r.picture));
        cached_.type = r.type;
        return cached_;
    }
    // Not in this bank: a missing question, never the one looked up before.
    return STRUCT_TK{};
}

void HistoryBook::clearLookupCache() {
    cachedId_ = -1;
    cached_ = STRUCT_TK{};
}

std::vector<HistoryRow> HistoryBook::fillHistoryList() {
    selectedEntry = 0;
    return rows();
}

std::vector<HistoryRow> HistoryBook::rows() const {
    const Sfile& st = *s_.state;
    const int count = usableHistoryCount(st);
    std::vector<HistoryRow> out;
    out.reserve(static_cast<std::size_t>(count));
    const std::string loadedTag = ExamSession::bankTag(st);
    for (int n = 1; n <= count; ++n) {
        const HistoryEntry& e = st.history[n];
        const std::string tag(readField(e.bankTag));
        out.push_back({std::to_string(n), gbk::toUtf8Lossy(readField(e.takenAt)), std::to_string(e.score),
                       gbk::toUtf8Lossy(tag), BankNames::historyName(tag, loadedTag)});
    }
    return out;
}

bool HistoryBook::chosen() {
    if (selectedEntry >= 1 && selectedEntry <= usableHistoryCount(*s_.state)) return true;
    s_.message(kNoneChosen);
    return false;
}

bool HistoryBook::checkPaper() {
    if (!chosen()) return false;
    const HistoryEntry& e = s_.state->history[selectedEntry];
    // An entry holds the tag as it fits its field; the loaded bank's tag is
    // compared in the same form, so a long extra-bank path still matches.
    if (readField(e.bankTag) != ExamSession::storedBankTag(ExamSession::bankTag(*s_.state))) {
        s_.message(kOtherBank);
        return false;
    }
    return true;
}

void HistoryBook::fillFromEntry(const HistoryEntry& e, bool withAnswers) {
    const int n = usableItemCount(e);
    s_.listCount = n;
    for (int i = 1; i <= n; ++i) {
        const HistoryItem& item = e.items[i];
        modes_.clearEntry(i);
        ListEntry& le = s_.entry(i);
        le.id = item.questionId;
        STRUCT_TK q = lookupQuestion(item.questionId);
        le.text = std::move(q.text);
        le.answer = q.answer;
        le.picture = std::move(q.picture);
        le.type = q.type;
        if (int r = s_.bank->findById(item.questionId)) {
            const QuestionRecord& rec = s_.record(r);
            le.rightCount = rec.rightCount;
            le.wrongCount = rec.wrongCount;
            le.answerCount = rec.answerCount;
            le.explanation = gbk::toUtf8Lossy(readField(rec.explanation));
            le.extra = rec.extra;
        } else {
            le.explanation.clear();
            le.extra = 0;
        }
        le.userAnswer = withAnswers ? item.userAnswer : 0;
        le.firstRight = withAnswers && item.firstRight != 0;
    }
}

bool HistoryBook::btn3Click() {
    if (!checkPaper()) return false;
    modes_.chujiClick();
    fillFromEntry(s_.state->history[selectedEntry], true);
    view_.showQuestion(1);
    return true;
}

bool HistoryBook::btn1Click() {
    if (!checkPaper()) return false;
    modes_.KaoShiClick();
    fillFromEntry(s_.state->history[selectedEntry], false);
    view_.showQuestion(1);
    // Until tmrKAOSHI fires, the start display marks the questions of this
    // paper, not those of the paper drawn a moment ago.
    view_.markBankCells();
    for (int i = 1; i <= s_.listCount; ++i) view_.drawPicker(s_.entry(i).id, PickerCanvas::kDrawn);
    return true;
}

bool HistoryBook::btn4Click() { return checkPaper(); }

bool HistoryBook::btn2Click() {
    if (!chosen()) return false;
    Sfile& st = *s_.state;
    const int count = usableHistoryCount(st);
    for (int k = selectedEntry; k < count; ++k) st.history[k] = st.history[k + 1];
    st.historyCount = count - 1;
    saveState();
    selectedEntry = 0;
    return true;
}

bool HistoryBook::saveState() {
    FileProblem problem = FileProblem::None;
    const int code = StateFile::saveState(*s_.state, s_.statePath(), nullptr, &problem);
    if (code == 0) {
        if (s_.journal) s_.journal->stateSaved();
        return true;
    }
    s_.fileMessage(texts::stateSaveFailed(code), s_.statePath(), problem);
    return false;
}

} // namespace cxb
