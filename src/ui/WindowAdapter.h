#pragma once
#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>

#include "engine/WindowPort.h"

class QTimer;
class QWidget;

namespace cxb {

class MainWindow;

// The main window as the engine sees it: finds each control by its name
// and renders what the engine asks for.
class WindowAdapter : public QObject, public WindowPort {
    Q_OBJECT
public:
    explicit WindowAdapter(MainWindow& window);

    void registerControl(Ctl control, QWidget* widget);
    QWidget* control(Ctl c) const { return controls_.value(static_cast<int>(c)); }
    QTimer* timer(Tmr t) const;

    void message(const std::string& text) override;
    bool retry(const std::string& text) override;
    void setCaption(const std::string& text) override;
    void setVisible(Ctl control, bool visible) override;
    void setText(Ctl control, const std::string& text) override;
    void setChecked(Ctl control, bool checked) override;
    void setImage(Ctl control, const std::string& nativePath) override;
    void startTimer(Tmr timer, int intervalMs) override;
    void stopTimer(Tmr timer) override;
    void setTimerInterval(Tmr timer, int intervalMs) override;
    void applyTextColours(std::int32_t backColor, std::int32_t textColor) override;
    void showQuestionView(const QuestionView& view) override;
    void pickerChanged() override;
    void scrollPicker(int y) override;
    bool loadBackground(int mode, const std::string& nativePath) override;
    void showBackground(int mode) override;
    void setRows(Ctl list, const std::vector<QuestionRow>& rows) override;
    void openSettings(bool firstStart) override;
    void playSound(const std::string& nativePath) override;
    void openAnalysis(const AnalysisView& view) override;

private:
    MainWindow& window_;
    QHash<int, QWidget*> controls_;
    QHash<int, QTimer*> timers_;
    QSet<int> reportedPictures_;    // controls whose picture failed once already
    QHash<int, QString> labelFiles_; // the picture file each label shows now
    // The sound effect from the module beside the program, made at the
    // first sound; null when the module is missing (then it beeps).
    QObject* soundEffect();
    QObject* sound_ = nullptr;
    bool soundLoaded_ = false;
};

} // namespace cxb
