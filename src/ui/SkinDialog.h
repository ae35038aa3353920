#pragma once
#include <QDialog>

namespace cxb {

class MainWindow;

class SkinDialog : public QDialog {
    Q_OBJECT
public:
    explicit SkinDialog(MainWindow& window, bool firstStart = false);

private:
    MainWindow& window_;
};

} // namespace cxb
