#pragma once
#include <QWidget>

#include "engine/Controls.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace cxb {

class FittedPicture;

class MainWindow;
class PickerWidget;
struct QuestionView;

// pnl2: the question view with its text, picture, answer controls,
// judgement, score labels, navigation and the question picker.
class QuestionPanel : public QWidget {
    Q_OBJECT
public:
    explicit QuestionPanel(MainWindow& window);

    void render(const QuestionView& view);
    PickerWidget* picker() const { return picker_; }
    QScrollArea* pickerBox() const { return pickerBox_; }
    bool trueFalseShown() const;
    // The answer controls on show.
    AnswerPanel shownPanel() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildAnswerPanels();
    void setFocusOrder();
    MainWindow& window_;
    QPlainTextEdit* memo_ = nullptr;
    QPlainTextEdit* judgement_ = nullptr;
    QLabel* mark_ = nullptr;
    QLabel* comeBack_ = nullptr; // when the question answered comes back
    QScrollArea* pictureBox_ = nullptr;
    FittedPicture* picture_ = nullptr;
    QWidget* single_ = nullptr;
    QWidget* trueFalse_ = nullptr;
    QWidget* multi_ = nullptr;
    QCheckBox* showAnswer_ = nullptr;
    QPushButton* star_ = nullptr; // btnxingbiao
    QScrollArea* pickerBox_ = nullptr;
    int wheelRest_ = 0; // wheel movement short of a whole notch
    PickerWidget* picker_ = nullptr;
    QString pictureFile_;
};

} // namespace cxb
