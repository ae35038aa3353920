#pragma once
#include <QPixmap>
#include <QSet>
#include <QWidget>
#include <array>
#include <memory>

#include "engine/Trainer.h"
#include "engine/WindowFit.h"
#include "ui/WindowAdapter.h"

class QKeyEvent;

class QLabel;
class QScrollArea;
class QPushButton;
class QSizeGrip;

namespace cxb {

class PickerWidget;
class QuestionPanel;
class ToolStrip;
class SidePanels;
class DesignScale;

// TForm1: the borderless main window. It builds the controls, renders what
// the engine decides and forwards clicks, keys and timers to it.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // `folder` is the program's folder; empty means the working directory.
    explicit MainWindow(const QString& folder = QString());
    ~MainWindow() override;

    Trainer& trainer() { return *trainer_; }
    WindowAdapter& adapter() { return *adapter_; }
    QuestionPanel& questionPanel() { return *questionPanel_; }

    // Rendering for the adapter.
    void setCaption(const QString& text);
    void showQuestionView(const QuestionView& view);
    void repaintPicker();
    void scrollPicker(int y);
    bool loadBackground(int mode, const QString& nativePath);
    void showBackground(int mode);
    void openSettings(bool firstStart);
    void openAnalysis(const AnalysisView& view);
    class AnalysisDialog* analysisDialog() const { return analysis_; }

    // Commands of the tool strip and the window.
    void SETClick();
    void Button5Click(); // information page
    void btn6Click();    // exam history
    // The export dialog TForm7, one for the run.
    class ExportDialog& exportDialog();
    // The history dialog of the last "历史" command, if any.
    class HistoryDialog* historyDialog() const { return history_; }
    void PifuClick();    // skin dialog
    void BitBtn9Click(); // hide or show the picker
    void img2Click();    // the bank maker's link
    void openChapters(); // 章节练习、专项练习

    static constexpr int kDesignWidth = WindowFit::kDesignWidth;
    static constexpr int kDesignHeight = WindowFit::kDesignHeight;
    static constexpr int kShortHeight = WindowFit::kShortHeight;

    // Fits the window to `area` (the screen less its panels) as its first
    // showing does: the scale, the place, the short window and the
    // small-screen message, which comes once per run at most.
    void fitToArea(const QRect& area);
    // Screen pixels per design pixel the window is drawn at now.
    double scale() const;
    // Whether the window is cut above the question picker.
    bool isShort() const { return shortWindow_; }
    // Draws the question text, its options and the explanation at the
    // learner's text size (字号).
    void applyTextSize();

    // Test seam: what the settings command opens (the real dialog when unset).
    std::function<void(bool firstStart)> settingsOverride;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void connectTimers();
    void updateMask();
    void applyScale(double scale);
    QRect availableArea() const;
    bool editableHasFocus() const;

    QString folder_;
    WindowAdapter* adapter_;
    std::unique_ptr<Trainer> trainer_;
    ToolStrip* toolStrip_ = nullptr;
    QuestionPanel* questionPanel_ = nullptr;
    SidePanels* sidePanels_ = nullptr;
    std::array<QPixmap, 5> backgrounds_;
    int background_ = 0;
    bool shownOnce_ = false;
    std::unique_ptr<DesignScale> design_;
    WindowFit fit_;
    bool shortWindow_ = false;
    QSizeGrip* grip_ = nullptr;
    bool enterPressed_ = false; // an Enter was pressed in this window and not yet released
    void noteChord(QObject* watched, const QKeyEvent* key);
    QSet<int> chordKeys_;       // keys pressed with Ctrl or Alt and not yet released
    class AnalysisDialog* analysis_ = nullptr;
    class HistoryDialog* history_ = nullptr;
    class ExportDialog* export_ = nullptr;
};

} // namespace cxb
