#pragma once
#include <QDialog>

namespace cxb {

class MainWindow;

class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit HistoryDialog(MainWindow& window);
    void fillHistoryList();

private:
    MainWindow& window_;
};

} // namespace cxb
