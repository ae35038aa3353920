#pragma once
#include <QColor>
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/SettingsModel.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace cxb {
class ReviewSettingsGroup;
}

namespace cxb {

class MainWindow;

// TForm6: the settings dialog. It shows the learner's settings from the
// state record and hands them to the settings model on OK; the main window
// refreshes the bank's picture and rebuilds its list afterwards.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `firstStart`: opened by the main window's first start, which asks the
    // learner to choose a bank once the dialog is painted.
    explicit SettingsDialog(MainWindow& window, bool firstStart = false);

    // Shows the dialog modally until OK, Cancel or the close box.
    int run();

    // What the controls hold, as OK takes it.
    SettingsValues values() const;

    void Button1Click();      // 确定
    void btn1Click();         // 使用建议颜色
    void edtlblbeijingClick(); // background swatch
    void edtlblzhitiClick();   // text swatch

    // Test seam: while set, run() shows the dialog without a modal loop and
    // lets this answer it.
    static void setRunHandler(std::function<void(SettingsDialog&)> handler);
    // Test seam: while set, the colour dialog is this: it gets the colour
    // the dialog opens with and returns the chosen one, nullopt for cancel.
    static void setColourHandler(std::function<std::optional<QColor>(const QColor& initial)> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void build();
    void showBankSizes();
    void listExtraBanks();
    void openingStep(const SettingsValues& v);
    void setSwatch(QLineEdit* swatch, std::int32_t colour);
    void pickColour(QLineEdit* swatch);
    QWidget* fieldWidget(SettingsField field) const;

    MainWindow& window_;
    bool firstStart_ = false;
    bool hintShown_ = false;
    QColor lastColour_ = Qt::black; // what the colour dialog returned last

    QRadioButton* rbXiao_ = nullptr;
    QRadioButton* rbKe_ = nullptr;
    QRadioButton* rbHuo_ = nullptr;
    QRadioButton* waijia_ = nullptr;
    QComboBox* tiku_te_ = nullptr;
    QLineEdit* chuji_ = nullptr;
    QLineEdit* nanti_ = nullptr;
    QLineEdit* nantixishu_ = nullptr;
    QLineEdit* edtkaoshitishu_ = nullptr;
    QLineEdit* edt7_ = nullptr;
    QLineEdit* edt8_ = nullptr;
    QComboBox* cbzihao_ = nullptr; // 字号
    QSpinBox* spnmastery_ = nullptr; // 错题复习
    ReviewSettingsGroup* review_ = nullptr; // 智能复习
    std::array<QLineEdit*, 6> keyEdits_{}; // edt1 … edt6
    QLineEdit* edtlblbeijing_ = nullptr;
    QLineEdit* edtlblzhiti_ = nullptr;
    std::int32_t backColour_ = 0;
    std::int32_t textColour_ = 0;
    QPushButton* Button1_ = nullptr;
    QPushButton* Button2_ = nullptr;
    QPushButton* btn1_ = nullptr;
};

} // namespace cxb
