#pragma once
#include <string>
#include <vector>

#include "engine/Controls.h"
#include "engine/QuestionView.h"

namespace cxb {

// One row of the review and search lists.
struct QuestionRow {
    std::string id, text, answer, rightCount, wrongCount, answerCount;
};

// Everything the engine asks of the main window. The window renders and
// forwards; tests put a recording fake here.
class WindowPort {
public:
    virtual ~WindowPort() = default;

    virtual void message(const std::string& text) = 0; // modal message box
    virtual void setCaption(const std::string& text) = 0;
    virtual void setVisible(Ctl control, bool visible) = 0;
    virtual void setText(Ctl control, const std::string& text) = 0;
    virtual void setChecked(Ctl control, bool checked) = 0;
    // Loads a picture file (native path) into a picture control.
    virtual void setImage(Ctl control, const std::string& nativePath) = 0;
    virtual void startTimer(Tmr timer, int intervalMs) = 0;
    virtual void stopTimer(Tmr timer) = 0;

    virtual void showQuestionView(const QuestionView& view) = 0;
    virtual void pickerChanged() = 0;         // the picker's cells must be repainted
    virtual void scrollPicker(int y) = 0;     // vertical scroll position; negative means the top
    virtual void applyModeBackground(int mode) = 0; // 1 sequential, 2 beginner, 3 hard, 4 exam
    virtual void setRows(Ctl list, const std::vector<QuestionRow>& rows) = 0;
    virtual void openSettings(bool firstStart) = 0;
};

} // namespace cxb
