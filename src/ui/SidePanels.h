#pragma once
#include <QObject>

class QTreeWidget;
class QWidget;

namespace cxb {

class MainWindow;

// The working panels besides the question view: the wrong-question review
// (pnl1), the bank browser (souPNL), the exam result (Panel2) and the
// information page (pnlIE).
class SidePanels : public QObject {
    Q_OBJECT
public:
    explicit SidePanels(MainWindow& window);

    static QTreeWidget* makeQuestionList(QWidget* parent, const char* name);
    void loadInformationPage();

private:
    void buildReview();
    void buildSearch();
    void buildResult();
    void buildInformation();
    QWidget* panel(const char* name);

    MainWindow& window_;
};

} // namespace cxb
