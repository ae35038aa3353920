#include "engine/PracticeModes.h"

#include <algorithm>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "engine/ChosenModes.h"
#include "engine/ExamSession.h"
#include "engine/QuestionPresenter.h"
#include "engine/RecordSorts.h"
#include "engine/Texts.h"

namespace cxb {

PracticeModes::PracticeModes(Session& s, QuestionPresenter& view) : s_(s), view_(view) {}

void PracticeModes::clearEntry(int i) {
    ListEntry& e = s_.entry(i);
    e.id = e.answer = e.userAnswer = 0;
    e.firstRight = false;
    e.text.assign(1, '0');
    e.picture.assign(1, '0');
    e.rightCount = e.wrongCount = e.answerCount = 0;
    e.counted = false;
}

void PracticeModes::fillEntry(int i, int r) {
    ListEntry& e = s_.entry(i);
    const QuestionRecord& q = s_.record(r);
    e.id = q.id;
    e.answer = q.answer;
    e.text = gbk::toUtf8Lossy(readField(q.text));
    e.picture = std::string(readField(q.picture));
    e.rightCount = q.rightCount;
    e.wrongCount = q.wrongCount;
    e.answerCount = q.answerCount;
    e.explanation = gbk::toUtf8Lossy(readField(q.explanation));
    e.type = q.type;
    e.extra = q.extra;
}

void PracticeModes::startLoadingNote() {
    s_.port.setText(Ctl::lbljiazai, texts::kLoading);
    s_.port.startTimer(Tmr::tmrjiange, 1000);
}

void PracticeModes::abandonExam() {
    s_.port.stopTimer(Tmr::tmruptime);
    s_.port.setVisible(Ctl::lbl1, false);
    s_.port.setVisible(Ctl::JIAOJUAN, false);
}

// What every practice command does before it builds its list: automatic
// moving on is ticked again, the answered and right counts start at zero,
// the caption names the mode, the error-review, exam-result and search
// panels go, a running exam is given up (its clock stopped, its time and
// hand-in button hidden), and the loading note shows for a second.
void PracticeModes::beginPractice(const char* title) {
    s_.checkBox2 = true;
    s_.port.setChecked(Ctl::CheckBox2, true);
    s_.listAnswered = 0;
    s_.listRight = 0;
    s_.port.setCaption(s_.caption(title));
    s_.port.setVisible(Ctl::pnl1, false);
    s_.port.setVisible(Ctl::Panel2, false);
    s_.port.setVisible(Ctl::souPNL, false);
    abandonExam();
    startLoadingNote();
}

void PracticeModes::fillFromTop(int count) {
    for (int i = 1; i <= count; ++i) {
        clearEntry(i);
        fillEntry(i, i);
    }
}

// What every practice command does once its list is built: the loading note
// goes (at once, or when its timer ends), the mode is noted, the whole picker
// is drawn and the first question of the list shown, every panel but the
// question panel is hidden, and the mode's background is put up.
void PracticeModes::finishPractice(int modeCode, int background, bool clearLoadingNow) {
    if (clearLoadingNow) {
        s_.port.setText(Ctl::lbljiazai, "");
        s_.port.stopTimer(Tmr::tmrjiange);
    }
    s_.current = 1;
    s_.modeCode = modeCode;
    view_.drawPicker(0, PickerCanvas::kWhole);
    view_.showQuestion(0);
    s_.hidePanels();
    s_.port.setVisible(Ctl::pnl2, true);
    s_.applyModeBackground(background);
}

void PracticeModes::SunXuClick() {
    beginPractice(texts::kTitleSunXu);
    RecordSorts::sortById(*s_.bank);
    s_.listCount = s_.bankCount;
    s_.displayMode = 2;
    fillFromTop(s_.listCount);
    finishPractice(0, 1, true);
}

void PracticeModes::chujiClick() {
    beginPractice(texts::kTitleChuji);
    RecordSorts::sortByAnswerCount(*s_.bank);
    s_.listCount = std::clamp(s_.state->beginnerCount, 0, s_.bankCount);
    s_.displayMode = 2;
    fillFromTop(s_.listCount);
    finishPractice(1, 2, false);
}

void PracticeModes::LianXKSClick() {
    beginPractice(texts::kTitleNanti);
    RecordSorts::sortByWrongCount(*s_.bank);
    s_.listCount = std::clamp(s_.state->hardCount, 0, s_.bankCount);
    s_.displayMode = 2;
    fillFromTop(s_.listCount);
    finishPractice(2, 3, false);
}

void PracticeModes::KaoShiClick() {
    // The exam leaves "自动进入下一题" as the learner set it.
    s_.listAnswered = 0;
    s_.port.setVisible(Ctl::Label5, false);
    s_.port.setVisible(Ctl::Label6, false);
    s_.port.setCaption(s_.caption(texts::kTitleKaoshi));
    s_.port.setVisible(Ctl::JIAOJUAN, true);
    s_.port.setVisible(Ctl::pnl1, false);
    s_.port.setVisible(Ctl::Panel2, false);
    s_.port.setVisible(Ctl::souPNL, false);
    startLoadingNote();
    if (exam_) exam_->startClock();
    s_.displayMode = 1;
    s_.hidePanels();
    s_.port.setVisible(Ctl::pnl2, true);

    // A paper never holds more than a history entry has room for.
    int n = std::clamp(s_.state->examCount, 0, std::min(s_.bankCount, static_cast<int>(HistoryEntry::kMaxItems)));
    s_.listCount = n;
    std::vector<int> picked = s_.examDraw.draw(s_.bankCount, n);
    for (int slot = 1; slot <= n; ++slot) {
        clearEntry(slot);
        fillEntry(slot, picked[static_cast<std::size_t>(slot)]);
    }
    s_.current = 1;
    view_.showQuestion(0);
    s_.modeCode = 3;
    view_.markBankCells();
    for (int i = 1; i <= n; ++i) view_.drawPicker(s_.entry(i).id, PickerCanvas::kDrawn);
    s_.applyModeBackground(4);
    s_.port.startTimer(Tmr::tmrKAOSHI, 1300);
}

void PracticeModes::Button2Click() {
    switch (s_.modeCode) {
    case 0: SunXuClick(); break;
    case 1: chujiClick(); break;
    case 2: LianXKSClick(); break;
    case 3: KaoShiClick(); break;
    default:
        if (s_.modeCode >= ChosenModes::kFirst && s_.modeCode <= ChosenModes::kLast && rebuild_) rebuild_();
        break;
    }
}

bool PracticeModes::keepUnsolved() {
    s_.checkBox2 = true;
    s_.port.setChecked(Ctl::CheckBox2, true);
    int k = 0;
    for (int j = 1; j <= s_.listCount; ++j) {
        const ListEntry& e = s_.entry(j);
        if (e.firstRight && e.userAnswer != 0) continue;
        ++k;
        if (k != j) s_.entry(k) = e;
        s_.entry(k).userAnswer = 0;
        s_.entry(k).firstRight = false;
    }
    if (k == 0) return false;
    s_.listCount = k;
    s_.port.setText(Ctl::lbljiazai, texts::kRetryWrong);
    view_.drawPicker(0, PickerCanvas::kWhole);
    return true;
}

void PracticeModes::btn3Click() {
    s_.listAnswered = 0;
    s_.listRight = 0;
    s_.port.setCaption(s_.caption(texts::kTitleChuji));
    s_.port.setVisible(Ctl::pnl1, false);
    s_.port.setVisible(Ctl::Panel2, false);
    s_.port.setVisible(Ctl::pnl2, true);
    s_.port.stopTimer(Tmr::tmruptime);
    s_.port.setVisible(Ctl::souPNL, false);
    s_.port.setVisible(Ctl::lbl1, false);
    s_.port.setVisible(Ctl::JIAOJUAN, false);
    startLoadingNote();
    s_.displayMode = 2;
    keepUnsolved();
    s_.current = 1;
    s_.modeCode = 1;
    view_.showQuestion(0);
}

} // namespace cxb
