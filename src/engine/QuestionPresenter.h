#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "engine/QuestionView.h"
#include "engine/Session.h"

namespace cxb {

// Shows one entry of the list: texts, picture, answer controls and, in the
// practice display, the judgement; and keeps the picker drawn.
class QuestionPresenter {
public:
    explicit QuestionPresenter(Session& s);

    void showQuestion(int position);
    // The view of the entry on show, as showQuestion hands it to the window.
    QuestionView viewOf(ListEntry& e, std::vector<std::string>* messages);

    void drawPicker(int cell, int style);
    void markBankCells();
    void resetOptionImages(int code);
    void syncMultiBoxes();
    // The native path of a skin picture, or "" when the key is absent.
    std::string skinPicture(const char* key) const;

    // What the view says under the judgement of a counted practice answer:
    // when the question comes back.
    using AnswerNote = std::function<std::string(std::int32_t questionId)>;
    void setAnswerNote(AnswerNote note) { answerNote_ = std::move(note); }

private:
    Session& s_;
    AnswerNote answerNote_;
};

} // namespace cxb
