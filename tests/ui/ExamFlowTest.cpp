// A mock exam in the real window: sat, handed in, found in the history,
// exported, viewed and deleted.
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/TravellingPage.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/ExportDialog.h"
#include "ui/HistoryDialog.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;

namespace {

// A runnable folder: the car bank and a state file choosing it, with an
// exam of five questions.
struct ExamFolder {
    test::TempDir dir;
    ExamFolder() {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(40, 11);
        for (int i = 1; i <= 40; ++i) bank.records[static_cast<std::size_t>(i)].picture[0] = '\0';
        // One question with a picture that exists.
        writeField(bank.records[1].picture, "pics\\p1.png");
        dir.mkdir("bankdata/pics");
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        EXPECT_TRUE(picture.save(QString::fromStdString(dir.file("bankdata/pics/p1.png"))));
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/小车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        state->examCount = 5;
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString folder() const { return QString::fromStdString(dir.path()); }
    int historyCountOnDisk() const {
        std::string bytes = dir.read("bankdata/sys.dat");
        return readInt32(reinterpret_cast<const unsigned char*>(bytes.data() + 24));
    }
};

// Every seam answered by the test, and put back at the end.
struct Seams {
    std::vector<QString> messages;
    Seams() { Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); }); }
    // The window shows messages of its own (missing skin pictures and the
    // like); the tests look at the ones of the history only.
    int count(const QString& m) const { return static_cast<int>(std::count(messages.begin(), messages.end(), m)); }
    ~Seams() {
        Dialogs::setMessageHandler({});
        Dialogs::setSaveFileHandler({});
        HistoryDialog::setShowHandler({});
        ExportDialog::setShowHandler({});
        ExportDialog::setPrintHandler({});
    }
};

QString text(QWidget& w, const char* name) {
    auto* l = w.findChild<QLabel*>(name);
    return l ? l->text() : QString();
}

void click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
}

// Answers every question of the list on show right, by keys and clicks.
void answerAll(MainWindow& w) {
    Session& s = w.trainer().s;
    for (int i = 1; i <= s.listCount; ++i) {
        ListEntry& e = s.entry(s.current);
        if (e.type == 2) {
            QTest::keyClick(&w, e.answer == 6 ? Qt::Key_A : Qt::Key_B);
        } else if (e.type == 1) {
            const char* names[] = {"Image1", "Image3", "img3", "img4"};
            click(w.findChild<PictureButton*>(names[e.answer - 1]));
        } else {
            for (int bit = 0; bit < 8; ++bit)
                if (e.answer & (2 << bit)) w.findChild<QCheckBox*>(QStringLiteral("chk%1").arg(QChar('A' + bit)))->click();
            click(w.findChild<QPushButton*>("btnduoxuan"));
        }
        EXPECT_EQ(e.userAnswer, e.answer) << "entry " << s.current;
        if (i < s.listCount) QTest::keyClick(&w, Qt::Key_Down);
    }
}

// Sits the exam from the tool strip and hands it in.
void sitExam(MainWindow& w) {
    click(w.findChild<PictureButton*>("Ima_kaoshi"));
    Session& s = w.trainer().s;
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("模拟真实考试练习    ")));
    EXPECT_EQ(s.listCount, 5);
    EXPECT_EQ(s.displayMode, 1);
    auto* handIn = w.findChild<QPushButton*>("JIAOJUAN");
    ASSERT_TRUE(handIn && handIn->isVisible());
    answerAll(w);
    click(handIn);
}

} // namespace

TEST(ExamFlow, SitHandInThenExportAndDeleteFromTheHistory) {
    ExamFolder f;
    Seams seams;
    MainWindow w(f.folder());
    w.show();
    QApplication::setActiveWindow(&w);
    w.findChild<QCheckBox*>("CheckBox2")->setChecked(false);

    sitExam(w);
    EXPECT_TRUE(w.findChild<QWidget*>("Panel2")->isVisible());
    EXPECT_EQ(text(w, "LabelMessage"), QStringLiteral("你的分数是:5；\r\n刚开始，谁都是这个分数，别灰心;\r\n使用《驰学宝》你会考到一百分的"));
    EXPECT_EQ(f.historyCountOnDisk(), 1);
    click(w.findChild<QWidget*>("Panel2")->findChild<QPushButton*>("btn1"));
    EXPECT_FALSE(w.findChild<QWidget*>("Panel2")->isVisible());

    const std::string h = f.dir.file("h.htm");
    const std::string saved = f.dir.file("saved.htm");
    bool historyShown = false, exportShown = false;
    QString printed;
    ExportDialog::setPrintHandler([&](QTextDocument& doc) { printed = doc.toPlainText(); });
    Dialogs::setSaveFileHandler([&](const QString&) { return QString::fromStdString(saved); });
    ExportDialog::setShowHandler([&](ExportDialog& e) {
        exportShown = true;
        EXPECT_EQ(e.windowTitle(), QStringLiteral("导出"));
        EXPECT_TRUE(fileExists(h));
        EXPECT_TRUE(fileExists(f.dir.file("n.htm")));
        EXPECT_TRUE(e.shownPage().endsWith("h.htm"));
        EXPECT_TRUE(e.showAnswers()->isChecked());
        QString page = e.browser()->toPlainText();
        EXPECT_TRUE(page.contains(QStringLiteral("1,"))) << page.toStdString();
        EXPECT_FALSE(page.contains(QStringLiteral("答案：___")));
        // The pictures are found beside the program.
        QVariant picture = e.browser()->loadResource(QTextDocument::ImageResource, QUrl("bankdata/pics/p1.png"));
        EXPECT_TRUE(picture.isValid() && !picture.toByteArray().isEmpty());

        e.showAnswers()->click();
        EXPECT_TRUE(e.shownPage().endsWith("n.htm"));
        EXPECT_TRUE(e.browser()->toPlainText().contains(QStringLiteral("答案：___")));
        click(e.findChild<QPushButton*>("btn1"));
        // The saved copy is the page that travels, of the kind on show; the
        // plain n.htm stays as it was written.
        EXPECT_EQ(f.dir.read("saved.htm"), TravellingPage(w.trainer().s, w.trainer().history).html(1, false));
        EXPECT_NE(f.dir.read("saved.htm"), f.dir.read("n.htm"));
        click(e.findChild<QPushButton*>("btn2"));
        EXPECT_TRUE(printed.contains(QStringLiteral("答案：___")));
    });
    HistoryDialog::setShowHandler([&](HistoryDialog& d) {
        historyShown = true;
        d.show(); // as the modal showing would
        EXPECT_EQ(d.windowTitle(), QStringLiteral("历史考试"));
        EXPECT_EQ(d.size(), QSize(631, 302));
        QTreeWidget* list = d.list();
        ASSERT_EQ(list->topLevelItemCount(), 1);
        QTreeWidgetItem* row = list->topLevelItem(0);
        EXPECT_EQ(row->text(0), "1");
        EXPECT_TRUE(row->text(1).endsWith(QStringLiteral("秒")));
        EXPECT_EQ(row->text(2), "5");
        EXPECT_EQ(row->text(3), QStringLiteral("小车"));

        click(d.findChild<QPushButton*>("btn4")); // nothing chosen yet
        EXPECT_EQ(seams.count(QStringLiteral("请先选择，历史记录！")), 1);
        EXPECT_FALSE(exportShown);

        list->setCurrentItem(row);
        click(d.findChild<QPushButton*>("btn4"));
        EXPECT_TRUE(exportShown);
        EXPECT_TRUE(d.isVisible()) << "the history stays open behind the export";

        click(d.findChild<QPushButton*>("btn2"));
        EXPECT_EQ(list->topLevelItemCount(), 0);
        EXPECT_EQ(f.historyCountOnDisk(), 0);
        d.hide();
    });
    click(w.findChild<PictureButton*>("img_lishi"));
    EXPECT_TRUE(historyShown);
    EXPECT_EQ(seams.count(QStringLiteral("请先选择，历史记录！")), 1);
}

TEST(ExamFlow, ViewReopensThePaperAndEachExportStartsWithTheAnswers) {
    ExamFolder f;
    Seams seams;
    MainWindow w(f.folder());
    w.show();
    QApplication::setActiveWindow(&w);
    w.findChild<QCheckBox*>("CheckBox2")->setChecked(false);
    sitExam(w);
    Session& s = w.trainer().s;
    std::vector<int> ids;
    for (int i = 1; i <= s.listCount; ++i) ids.push_back(s.entry(i).id);

    int exports = 0;
    ExportDialog::setShowHandler([&](ExportDialog& e) {
        ++exports;
        EXPECT_TRUE(e.shownPage().endsWith("h.htm")) << exports;
        if (exports == 1) e.showAnswers()->click(); // untick before the next export
        else EXPECT_FALSE(e.showAnswers()->isChecked());
    });
    HistoryDialog::setShowHandler([&](HistoryDialog& d) {
        d.list()->setCurrentItem(d.list()->topLevelItem(0));
        click(d.findChild<QPushButton*>("btn4"));
        click(d.findChild<QPushButton*>("btn4"));
        d.show();
        click(d.findChild<QPushButton*>("btn3"));
        EXPECT_FALSE(d.isVisible()) << "viewing closes the history";
    });
    click(w.findChild<PictureButton*>("img_lishi"));
    EXPECT_EQ(exports, 2);
    EXPECT_EQ(seams.count(QStringLiteral("请先选择，历史记录！")), 0);
    EXPECT_EQ(seams.count(QStringLiteral("题库类型不正确，请选择正确题库")), 0);
    EXPECT_EQ(s.modeCode, 1);
    EXPECT_EQ(s.displayMode, 2);
    ASSERT_EQ(s.listCount, 5);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(s.entry(i).id, ids[static_cast<std::size_t>(i - 1)]);
        EXPECT_EQ(s.entry(i).userAnswer, s.entry(i).answer);
    }
    EXPECT_TRUE(w.findChild<QWidget*>("pnl2")->isVisible());
    EXPECT_EQ(text(w, "Label3"), "1/5");
}
