#include "engine/ErrorReview.h"

#include <utility>

#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StoredPath.h"
#include "engine/AnswerText.h"
#include "engine/PracticeModes.h"
#include "engine/QuestionPresenter.h"
#include "engine/RecordSorts.h"
#include "engine/ReviewWithMastery.h"
#include "engine/StarToggle.h"
#include "engine/Texts.h"

namespace cxb {

ErrorReview::ErrorReview(Session& s, PracticeModes& modes, QuestionPresenter& view) : s_(s), modes_(modes), view_(view) {}

QuestionRow ErrorReview::rowOf(const QuestionRecord& r) {
    return {std::to_string(r.id), gbk::toUtf8Lossy(readField(r.text)), answerText(r.type, r.answer),
            std::to_string(r.rightCount), std::to_string(r.wrongCount), std::to_string(r.answerCount), {}};
}

void ErrorReview::btnErrorLianXClick() {
    s_.modeCode = 4;
    s_.port.setCaption(s_.caption(texts::kTitleErrors));
    s_.port.setVisible(Ctl::pnl1, true);
    s_.port.setVisible(Ctl::Panel2, false);
    s_.port.setVisible(Ctl::souPNL, false);
    btnGCerrorClick();
    modes_.abandonExam();
    s_.hidePanels();
    s_.port.setVisible(Ctl::pnl1, true);
}

void ErrorReview::btnGCerrorClick() {
    if (s_.listCount <= 0) return;
    s_.errorKind = 2;
    s_.port.setText(Ctl::btn4, "再次挑战刚才的错题");
    // Reorder the list itself by descending wrong count, with the same
    // exchange loop as the bank's sorts.
    const int n = s_.listCount;
    std::vector<std::int64_t> keys(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) keys[static_cast<std::size_t>(i)] = -static_cast<std::int64_t>(s_.entry(i).wrongCount);
    std::vector<int> order = RecordSorts::exchangeOrder(keys);
    std::vector<ListEntry> sorted(static_cast<std::size_t>(n) + 1);
    for (int p = 1; p <= n; ++p) sorted[static_cast<std::size_t>(p)] = std::move(s_.entry(order[static_cast<std::size_t>(p)]));
    for (int p = 1; p <= n; ++p) s_.entry(p) = std::move(sorted[static_cast<std::size_t>(p)]);

    s_.reviewRows.clear();
    for (int j = 1; j <= n; ++j) {
        const ListEntry& e = s_.entry(j);
        if (e.userAnswer == 0 || e.userAnswer == e.answer) continue;
        QuestionRow row{std::to_string(e.id), e.text, answerText(e.type, e.answer), "", "", "", ""};
        if (int r = s_.bank->findById(e.id)) {
            const QuestionRecord& q = s_.record(r);
            row.rightCount = std::to_string(q.rightCount);
            row.wrongCount = std::to_string(q.wrongCount);
            row.answerCount = std::to_string(q.answerCount);
        }
        s_.reviewRows.push_back(std::move(row));
    }
    s_.port.setRows(Ctl::lv1, s_.reviewRows);
}

void ErrorReview::btnQuanBuClick() {
    s_.errorKind = 1;
    s_.port.setText(Ctl::btn4, "再次挑战曾经全部错题");
    if (mastery_ && mastery_->active()) {
        mastery_->showRows();
        return;
    }
    RecordSorts::sortByWrongCount(*s_.bank);
    s_.reviewRows.clear();
    for (int i = 1; i <= s_.questionCount(); ++i)
        if (s_.record(i).wrongCount > 0) s_.reviewRows.push_back(rowOf(s_.record(i)));
    s_.port.setRows(Ctl::lv1, s_.reviewRows);
}

void ErrorReview::btn4Click() {
    s_.hidePanels();
    s_.port.setVisible(Ctl::pnl1, false);
    s_.port.setVisible(Ctl::Panel2, false);
    s_.port.setVisible(Ctl::pnl2, true);
    if (s_.errorKind == 1 && mastery_ && mastery_->active()) {
        if (mastery_->fillList() == 0) {
            s_.message("没发现错题");
            return;
        }
    } else if (s_.errorKind == 1) {
        RecordSorts::sortByWrongCount(*s_.bank);
        int count = 0;
        for (int i = 1; i <= s_.questionCount() && s_.record(i).wrongCount > 0; ++i) {
            modes_.clearEntry(i);
            modes_.fillEntry(i, i);
            count = i;
        }
        if (count == 0) {
            s_.message("没发现错题");
            return;
        }
        s_.listCount = count;
    } else if (s_.errorKind == 2) {
        if (!modes_.keepUnsolved()) {
            s_.message("没发现错题");
            return;
        }
        s_.modeCode = 2;
    }
    s_.displayMode = 2;
    s_.current = 1;
    view_.showQuestion(0);
}

void ErrorReview::lv1SelectItem(int row) { s_.reviewSelected = row; }

AnalysisView ErrorReview::analysisOf(int id, std::vector<std::string>* messages) const {
    AnalysisView v;
    int r = s_.bank->findById(id);
    v.label7 = "本题ID为：" + std::to_string(id);
    if (!r) return v;
    const QuestionRecord& q = s_.record(r);
    v.label8 = "答案:" + answerText(q.type, q.answer);
    // Should a bank hold the id twice, the counters are those of its last
    // record, as the dialog fills them record by record.
    const QuestionRecord* counted = &q;
    for (int i = r + 1; i <= s_.questionCount(); ++i)
        if (s_.record(i).id == id) counted = &s_.record(i);
    v.hasCounters = true;
    v.rightCount = std::to_string(counted->rightCount);
    v.wrongCount = std::to_string(counted->wrongCount);
    v.answerCount = std::to_string(counted->answerCount);
    v.text = gbk::toUtf8Lossy(readField(q.text));
    v.starred = s_.stars && s_.stars->isStarred(id);
    v.starText = StarToggle::analysisText(v.starred);
    std::string name(readField(q.picture));
    // The same lookup as the question view: blanks are dropped, and a name
    // of blanks only is no picture.
    const PictureRef ref = resolvePicture(name, s_.state->extraBank == 1);
    if (!ref.empty()) {
        std::string path = s_.nativePath(ref.storedPath);
        if (fileExists(path)) {
            v.pictureVisible = true;
            v.picture = path;
            v.pictureUnreadable = texts::kPictureMissing + gbk::toUtf8Lossy(name);
        } else if (messages) {
            messages->push_back(texts::kPictureMissing + gbk::toUtf8Lossy(name));
        }
    }
    return v;
}

void ErrorReview::Button3Click() {
    int row = s_.reviewSelected;
    if (row < 0 || row >= static_cast<int>(s_.reviewRows.size())) return;
    int id = 0;
    try {
        id = std::stoi(s_.reviewRows[static_cast<std::size_t>(row)].id);
    } catch (...) {
        return;
    }
    if (!s_.bank->findById(id)) return;
    std::vector<std::string> messages;
    AnalysisView v = analysisOf(id, &messages);
    for (const auto& m : messages) s_.message(m);
    s_.port.openAnalysis(v);
}

} // namespace cxb
