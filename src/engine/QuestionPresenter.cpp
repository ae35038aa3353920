#include "engine/QuestionPresenter.h"

#include "data/FileBytes.h"
#include "data/Gbk.h"
#include "data/StoredPath.h"
#include "engine/AnswerText.h"
#include "engine/StarToggle.h"
#include "engine/Texts.h"

namespace cxb {

QuestionPresenter::QuestionPresenter(Session& s) : s_(s) {}

void QuestionPresenter::drawPicker(int cell, int style) {
    s_.picker.drawCell(cell, style, s_.listCount);
    s_.port.pickerChanged();
}

void QuestionPresenter::markBankCells() {
    for (int k = 1; k <= s_.bankCount; ++k) s_.picker.drawCell(k, PickerCanvas::kBank, s_.listCount);
    s_.port.pickerChanged();
}

std::string QuestionPresenter::skinPicture(const char* key) const {
    std::string value = lookupSkin(s_.skin, key);
    return s_.nativePath(value);
}

void QuestionPresenter::syncMultiBoxes() {
    ListEntry* e = s_.shown();
    if (!e || e->type != 3) return;
    s_.boxEventsEnabled = false;
    static const Ctl boxes[] = {Ctl::chkA, Ctl::chkB, Ctl::chkC, Ctl::chkD, Ctl::chkE, Ctl::chkF, Ctl::chkG, Ctl::chkH};
    for (int b = 0; b < 8; ++b) s_.port.setChecked(boxes[b], (e->userAnswer & (2 << b)) != 0);
    s_.multiBoxes = e->userAnswer & 0x1FE;
    s_.boxEventsEnabled = true;
}

void QuestionPresenter::resetOptionImages(int code) {
    syncMultiBoxes();
    static const struct { Ctl control; const char* normal; const char* chosen; } buttons[] = {
        {Ctl::Image1, "a.png", "a0.png"}, {Ctl::Image3, "b.png", "b0.png"}, {Ctl::img3, "c.png", "c0.png"},
        {Ctl::img4, "d.png", "d0.png"},   {Ctl::Image5, "cuo.png", "cuo0.png"}, {Ctl::Image4, "dui.png", "dui0.png"}};
    for (const auto& b : buttons) s_.port.setImage(b.control, skinPicture(b.normal));
    if (code == 0) return;
    // codes 1..4 are A..D, 5 错, 6 对: the table's order
    if (code >= 1 && code <= 6) {
        s_.hoverArmed = false;
        const auto& b = buttons[code - 1];
        s_.port.setImage(b.control, skinPicture(b.chosen));
    } else {
        s_.hoverArmed = false;
    }
}

QuestionView QuestionPresenter::viewOf(ListEntry& e, std::vector<std::string>* messages) {
    QuestionView v;
    const bool practice = s_.displayMode != 1;
    if (practice) {
        v.label7 = e.wrongCount != 0 ? texts::kHintWrongOften : texts::kHintSeldom;
        v.checkBox1Visible = true;
    } else {
        v.label7 = texts::kHintExam;
        v.checkBox1Visible = false;
    }
    if (e.userAnswer != 0) {
        v.label4Visible = true;
        const std::string yours = answerText(e.type, e.userAnswer);
        if (practice && s_.checkBox1) {
            v.image2Visible = true;
            if (e.userAnswer != e.answer) {
                v.image2 = s_.nativePath(texts::kMarkWrong);
                v.label4 = std::string(texts::kYouWereWrong) + yours + texts::kRightAnswerIs + answerText(e.type, e.answer);
                if (!e.explanation.empty()) v.label4 = e.explanation;
                if (e.wrongCount >= 3 && messages)
                    messages->push_back(std::string(texts::kManyWrong1) + std::to_string(e.wrongCount) +
                                        texts::kManyWrong2 + std::to_string(e.rightCount));
            } else if (e.firstRight) {
                v.image2 = s_.nativePath(texts::kMarkRight);
                v.label4 = std::string(texts::kYourAnswer) + yours + texts::kRight;
            } else {
                v.image2 = s_.nativePath(texts::kMarkExclaim);
                v.label4 = std::string(texts::kYourAnswer) + yours + texts::kRightNotFirst;
            }
        } else {
            // The mark keeps whatever it showed.
            v.image2Visible = false;
            v.label4 = std::string(texts::kYourAnswer) + yours;
        }
    }
    // Not while a paper is being answered: the exam shows no judgement.
    if (practice && e.userAnswer != 0 && e.counted && answerNote_) v.comeBack = answerNote_(e.id);
    v.label3 = std::to_string(s_.current) + "/" + std::to_string(s_.listCount);
    v.label2 = texts::kIdPrefix + std::to_string(e.id);
    v.memo1 = e.text;
    v.starEnabled = true;
    v.starred = s_.stars && s_.stars->isStarred(e.id);
    v.starCaption = StarToggle::caption(v.starred);

    PictureRef pic = resolvePicture(e.picture, s_.state->extraBank == 1);
    e.picture = pic.name;
    if (!pic.empty()) {
        std::string path = s_.nativePath(pic.storedPath);
        if (fileExists(path)) {
            v.pictureVisible = true;
            v.picture = path;
        } else if (messages) {
            messages->push_back(texts::kPictureMissing + gbk::toUtf8Lossy(pic.name));
        }
    }
    switch (e.type) {
    case 1: v.panel = AnswerPanel::Single; break;
    case 2: v.panel = AnswerPanel::TrueFalse; break;
    case 3: v.panel = AnswerPanel::Multi; break;
    default: v.panel = AnswerPanel::None; break;
    }
    return v;
}

void QuestionPresenter::showQuestion(int position) {
    if (position != 0) s_.current = position;
    ListEntry* e = s_.shown();
    if (!e) {
        // An empty list shows no entry.
        QuestionView empty;
        empty.label3 = "0/0";
        empty.checkBox1Visible = s_.displayMode != 1;
        empty.starCaption = StarToggle::caption(false);
        drawPicker(0, PickerCanvas::kWhole);
        s_.port.showQuestionView(empty);
        return;
    }
    drawPicker(s_.current, PickerCanvas::kCurrent);
    resetOptionImages(e->userAnswer);
    std::vector<std::string> messages;
    QuestionView v = viewOf(*e, &messages);
    s_.port.showQuestionView(v);
    if (s_.displayMode == 1 && e->userAnswer != 0) resetOptionImages(e->userAnswer);
    for (const auto& m : messages) s_.message(m);
}

} // namespace cxb
