#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/WindowPort.h"

namespace cxb::test {

// Records what the engine asks of the window.
class FakeWindow : public WindowPort {
public:
    void message(const std::string& m) override { messages.push_back(m); }
    // Recorded with the messages; answered from `retryAnswers` in turn, then 放弃.
    bool retry(const std::string& m) override {
        messages.push_back(m);
        ++retryOffers;
        if (onRetry) onRetry();
        if (retryAnswers.empty()) return false;
        const bool again = retryAnswers.front();
        retryAnswers.erase(retryAnswers.begin());
        return again;
    }
    std::vector<bool> retryAnswers;
    int retryOffers = 0;
    std::function<void()> onRetry; // before a retry is answered: free the disk, say
    void setCaption(const std::string& c) override { caption = c; }
    void setVisible(Ctl c, bool v) override { visible[c] = v; }
    void setText(Ctl c, const std::string& t) override { text[c] = t; }
    void setChecked(Ctl c, bool v) override { checked[c] = v; }
    void setImage(Ctl c, const std::string& p) override { image[c] = p; }
    void startTimer(Tmr t, int ms) override { timers[t] = ms; }
    void stopTimer(Tmr t) override { timers.erase(t); }
    void setTimerInterval(Tmr t, int ms) override { intervals[t] = ms; }
    std::map<Tmr, int> intervals;
    void applyTextColours(std::int32_t back, std::int32_t fore) override { textColours = {back, fore}; }
    std::pair<std::int32_t, std::int32_t> textColours{-1, -1}; // {-1, -1}: never applied
    void showQuestionView(const QuestionView& v) override { views.push_back(v); }
    void pickerChanged() override { ++pickerRepaints; }
    void scrollPicker(int y) override { scroll = y; }
    bool loadBackground(int mode, const std::string& p) override { loadedBackgrounds[mode] = p; return !failBackground; }
    void showBackground(int mode) override { background = mode; }
    std::map<int, std::string> loadedBackgrounds;
    bool failBackground = false;
    void setRows(Ctl list, const std::vector<QuestionRow>& r) override { rows[list] = r; }
    void openSettings(bool firstStart) override { settingsOpened.push_back(firstStart); if (onSettings) onSettings(); }
    void playSound(const std::string& p) override { sounds.push_back(p); }
    std::vector<std::string> sounds;
    void openAnalysis(const AnalysisView& v) override { analyses.push_back(v); }
    std::vector<AnalysisView> analyses;

    bool isVisible(Ctl c) const { auto it = visible.find(c); return it != visible.end() && it->second; }
    bool running(Tmr t) const { return timers.count(t) != 0; }
    const QuestionView& lastView() const { return views.back(); }

    std::vector<std::string> messages;
    std::string caption;
    std::map<Ctl, bool> visible;
    std::map<Ctl, std::string> text;
    std::map<Ctl, bool> checked;
    std::map<Ctl, std::string> image;
    std::map<Tmr, int> timers;
    std::vector<QuestionView> views;
    int pickerRepaints = 0;
    int scroll = 0;
    int background = 0;
    std::map<Ctl, std::vector<QuestionRow>> rows;
    std::vector<bool> settingsOpened;
    std::function<void()> onSettings;
};

} // namespace cxb::test

namespace cxb::test {

// The first line of each message: what the trainer has always said, before
// the lines that name the file, the cause and what to do.
inline std::vector<std::string> firstLines(const std::vector<std::string>& messages) {
    std::vector<std::string> lines;
    for (const auto& m : messages) lines.push_back(m.substr(0, m.find('\n')));
    return lines;
}

} // namespace cxb::test
