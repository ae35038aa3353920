#pragma once
#include <QDialog>
#include <array>

class QLineEdit;

namespace cxb {

class MainWindow;

// TForm_Pifu "皮肤设置": the names of the four mode backgrounds.
class SkinDialog : public QDialog {
    Q_OBJECT
public:
    explicit SkinDialog(MainWindow& window);

    void Button2Click(); // "确定"
    void Button3Click(); // "取消"

private:
    MainWindow& window_;
    std::array<QLineEdit*, 4> edits_{};
};

} // namespace cxb
