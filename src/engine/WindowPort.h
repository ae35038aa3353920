#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/AnalysisView.h"
#include "engine/Controls.h"
#include "engine/QuestionView.h"

namespace cxb {

// One row of the review and search lists.
struct QuestionRow {
    std::string id, text, answer, rightCount, wrongCount, answerCount;
    // How far the question has come towards the review's mastery ("1/3");
    // empty in every other list.
    std::string progress;
};

// Everything the engine asks of the main window. The window renders and
// forwards; tests put a recording fake here.
class WindowPort {
public:
    virtual ~WindowPort() = default;

    virtual void message(const std::string& text) = 0; // modal message box
    // A modal message offering 重试 and 放弃; true when the learner retries.
    virtual bool retry(const std::string& text) = 0;
    virtual void setCaption(const std::string& text) = 0;
    virtual void setVisible(Ctl control, bool visible) = 0;
    virtual void setText(Ctl control, const std::string& text) = 0;
    virtual void setChecked(Ctl control, bool checked) = 0;
    // Loads a picture file (native path) into a picture control.
    virtual void setImage(Ctl control, const std::string& nativePath) = 0;
    virtual void startTimer(Tmr timer, int intervalMs) = 0;
    virtual void stopTimer(Tmr timer) = 0;
    // Sets a timer's interval without starting it; a running one restarts.
    virtual void setTimerInterval(Tmr timer, int intervalMs) = 0;
    // The question text box Memo1: background and text colour, 0x00BBGGRR.
    virtual void applyTextColours(std::int32_t backColor, std::int32_t textColor) = 0;

    virtual void showQuestionView(const QuestionView& view) = 0;
    virtual void pickerChanged() = 0;         // the picker's cells must be repainted
    virtual void scrollPicker(int y) = 0;     // vertical scroll position; negative means the top
    // Loads background bitmap `mode` (1..4); false when it cannot be loaded.
    virtual bool loadBackground(int mode, const std::string& nativePath) = 0;
    // Tiles the loaded bitmap of `mode` under the panels (none if not loaded).
    virtual void showBackground(int mode) = 0;
    virtual void setRows(Ctl list, const std::vector<QuestionRow>& rows) = 0;
    virtual void openSettings(bool firstStart) = 0;
    // Plays a sound file (native path) without waiting; a name that is not
    // a playable file gives the system's beep.
    virtual void playSound(const std::string& nativePath) = 0;
    // Shows the question analysis dialog modally.
    virtual void openAnalysis(const AnalysisView& view) = 0;
};

} // namespace cxb
