#pragma once
#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QTextBrowser;
class QTextDocument;

namespace cxb {

class MainWindow;

// TForm7 "导出": a recorded paper as the pages "h.htm" (with answers) and
// "n.htm" (without), shown, saved and printed. One instance serves the run;
// "显示答案" keeps its state between showings.
class ExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportDialog(MainWindow& window);

    // Writes both pages of history entry `entry`, shows "h.htm" and shows
    // the dialog modally.
    void buildPaperPages(int entry);

    void chk1Click(); // "显示答案": the page with or without answers
    // "保存....": the shown kind of page, with its pictures inside, into a
    // file of the learner's choice.
    void btn1Click();
    void btn2Click(); // "打印": print preview
    // "导出PDF": the shown kind of page, with its header and pictures, as an
    // A4 PDF file of the learner's choice.
    void btnpdfClick();

    // Where the save dialogs start: the learner's documents folder (the
    // home folder when there is none).
    static QString startFolder();

    // Shown when the PDF cannot be written; the file, the cause and what to
    // do follow.
    static constexpr const char* kPdfFailed = "PDF 文件没有保存：";

    // The page on show (native path).
    QString shownPage() const { return shown_; }
    QTextBrowser* browser() const { return wb1_; }
    QCheckBox* showAnswers() const { return chk1_; }

    // Test seams: while set, buildPaperPages() calls the first instead of
    // showing the dialog modally, and btn2Click() hands the page's document
    // to the second instead of opening the print preview.
    static void setShowHandler(std::function<void(ExportDialog&)> handler);
    static void setPrintHandler(std::function<void(QTextDocument&)> handler);

private:
    void showPage(bool withAnswers);
    bool showingAnswers() const;
    // The page that travels, for the entry being exported (UTF-8).
    std::string travellingPage() const;

    MainWindow& window_;
    QCheckBox* chk1_;
    QTextBrowser* wb1_;
    QString shown_;
    int entry_ = 0;
};

} // namespace cxb
