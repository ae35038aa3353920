#pragma once
#include <QDialog>
#include <functional>

class QTreeWidget;

namespace cxb {

class MainWindow;

// Tlishidlg "历史考试": the recorded exams, to view, sit again, export or
// delete. The rules live in the engine's HistoryBook.
class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit HistoryDialog(MainWindow& window);

    // Fills the list (nothing chosen) and shows the dialog modally.
    void fillHistoryList();
    // Fills the rows from the recorded exams.
    void fillRows();

    void btn3Click(); // "查看考试卷"
    void btn1Click(); // "再次考试本卷"
    void btn4Click(); // "导出、打印"
    void btn2Click(); // "删除本卷"

    QTreeWidget* list() const { return lv1_; }

    // Test seam: while set, fillHistoryList() calls this instead of showing
    // the dialog modally.
    static void setShowHandler(std::function<void(HistoryDialog&)> handler);

private:
    MainWindow& window_;
    QTreeWidget* lv1_;
};

} // namespace cxb
