#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace cxb {

class FittedPicture;

struct AnalysisView;

// TForm5 "本题属性": one question with its picture, answer and counters.
class AnalysisDialog : public QDialog {
    Q_OBJECT
public:
    explicit AnalysisDialog(QWidget* parent);
    // Fills the dialog and shows it modally (showAnalysis).
    void showAnalysis(const AnalysisView& view);
    // Fills without showing (for tests and for showAnalysis).
    void fill(const AnalysisView& view);

private:
    QPlainTextEdit* text_;
    FittedPicture* image_;
    QLabel* answer_;
    QLabel* id_;
    QLineEdit* read_;
    QLineEdit* right_;
    QLineEdit* wrong_;
    QLabel* star_; // lblxingbiao: whether the question is starred
};

} // namespace cxb
