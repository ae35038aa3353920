#pragma once
#include <QDialog>

namespace cxb {

class MainWindow;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(MainWindow& window, bool firstStart = false);

private:
    MainWindow& window_;
};

} // namespace cxb
