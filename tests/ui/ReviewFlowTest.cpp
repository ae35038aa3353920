// Wrong answers, then the review, the analysis dialog and a search, in the
// real window.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "ui/AnalysisDialog.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;

namespace {

struct Folder {
    test::TempDir dir;
    Folder() {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(40, 11);
        // Single-choice questions only, answer A, so a click on B is wrong.
        for (int i = 1; i <= 40; ++i) {
            bank.records[static_cast<std::size_t>(i)].type = 1;
            bank.records[static_cast<std::size_t>(i)].answer = 1;
            writeField(bank.records[static_cast<std::size_t>(i)].picture, "");
        }
        BankFile::store(bank, dir.file("bankdata/b.tk"));
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
    }
};

QString cell(QTreeWidget* list, int row, int column) { return list->topLevelItem(row)->text(column); }

} // namespace

TEST(ReviewFlow, WrongAnswersReviewAnalysisAndSearch) {
    Folder f;
    std::vector<QString> messages;
    Dialogs::setMessageHandler([&](const QString& m) { messages.push_back(m); });
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    Session& s = w.trainer().s;
    w.trainer().nav.setAutoNext(false);

    // Entries 1..3 wrong (B), entry 4 right (A).
    std::vector<int> wrongIds;
    for (int i = 1; i <= 4; ++i) {
        if (i <= 3) wrongIds.push_back(s.entry(s.current).id);
        QTest::mouseClick(w.findChild<PictureButton*>(i <= 3 ? "Image3" : "Image1"), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QPushButton*>("DO"), Qt::LeftButton);
    }

    // The review: just the three wrong answers, with their counters.
    QTest::mouseClick(w.findChild<PictureButton*>("Ima_cuowuji"), Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("错误集练习    驰学宝10.1"));
    auto* lv1 = w.findChild<QTreeWidget*>("lv1");
    ASSERT_TRUE(lv1->isVisible());
    ASSERT_EQ(lv1->topLevelItemCount(), 3);
    EXPECT_EQ(w.findChild<QPushButton*>("btn4")->text(), QStringLiteral("再次挑战刚才的错题"));
    std::vector<int> listed;
    for (int r = 0; r < 3; ++r) {
        listed.push_back(cell(lv1, r, 0).toInt());
        EXPECT_EQ(cell(lv1, r, 2), "A");
        EXPECT_EQ(cell(lv1, r, 3), "0");
        EXPECT_EQ(cell(lv1, r, 4), "1");
        EXPECT_EQ(cell(lv1, r, 5), "1");
    }
    // The question text fills the width the other columns leave, and the
    // whole question shows as the row's tooltip.
    int others = 0;
    for (int c : {0, 2, 3, 4, 5}) others += lv1->columnWidth(c);
    EXPECT_GT(lv1->columnWidth(1), 200);
    EXPECT_NEAR(lv1->columnWidth(1) + others, lv1->viewport()->width(), 2);
    const QString tip = lv1->topLevelItem(0)->toolTip(1);
    EXPECT_FALSE(tip.isEmpty());
    EXPECT_EQ(QString(tip).replace('\n', ' '), cell(lv1, 0, 1));
    std::sort(listed.begin(), listed.end());
    std::sort(wrongIds.begin(), wrongIds.end());
    EXPECT_EQ(listed, wrongIds);

    // The analysis of the second row, answered while the dialog is open.
    lv1->setCurrentItem(lv1->topLevelItem(1));
    const QString id = cell(lv1, 1, 0);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        AnalysisDialog* d = w.analysisDialog();
        ASSERT_TRUE(d->isVisible());
        EXPECT_EQ(d->windowTitle(), QStringLiteral("本题属性"));
        EXPECT_EQ(d->findChild<QLabel*>("Label7")->text(), QStringLiteral("本题ID为：") + id);
        EXPECT_EQ(d->findChild<QLabel*>("Label8")->text(), QStringLiteral("答案:A"));
        EXPECT_EQ(d->findChild<QLineEdit*>("er")->text(), "1");
        EXPECT_EQ(d->findChild<QLineEdit*>("dui")->text(), "0");
        EXPECT_EQ(d->findChild<QLineEdit*>("read")->text(), "1");
        EXPECT_FALSE(d->findChild<QLabel*>("Image")->isVisible()); // no picture
        seen = true;
        d->accept();
    });
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    EXPECT_TRUE(seen);

    // "练习": the unsolved entries — the three wrong and the six never
    // answered, not the one answered right — all unanswered again.
    QTest::mouseClick(w.findChild<QPushButton*>("btn4"), Qt::LeftButton);
    EXPECT_TRUE(w.findChild<QWidget*>("pnl2")->isVisible());
    EXPECT_EQ(s.listCount, 9);
    EXPECT_EQ(s.modeCode, 2);
    std::vector<int> kept;
    for (int i = 1; i <= s.listCount; ++i) {
        EXPECT_EQ(s.entry(i).userAnswer, 0);
        kept.push_back(s.entry(i).id);
    }
    for (int wrong : wrongIds) EXPECT_NE(std::find(kept.begin(), kept.end(), wrong), kept.end()) << wrong;

    // The bank browser: searching the id of a wrong question finds it first.
    QTest::mouseClick(w.findChild<PictureButton*>("Ima_tiku"), Qt::LeftButton);
    auto* lv2 = w.findChild<QTreeWidget*>("lv2");
    ASSERT_TRUE(lv2->isVisible());
    EXPECT_EQ(lv2->topLevelItemCount(), 40); // an empty search lists the bank
    EXPECT_EQ(cell(lv2, 0, 4), "1");          // most often wrong first
    auto* edit = w.findChild<QLineEdit*>("edtchazhao");
    edit->setFocus();
    QTest::keyClicks(edit, id);
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_GE(lv2->topLevelItemCount(), 1);
    EXPECT_EQ(cell(lv2, 0, 0), id);
    lv2->setCurrentItem(lv2->topLevelItem(0));
    EXPECT_FALSE(w.findChild<QPlainTextEdit*>("mmo1")->toPlainText().isEmpty());
    EXPECT_EQ(w.findChild<QLabel*>("lbl3")->text(), QStringLiteral("正确答案是：A"));
    // Typing in the search box answered nothing.
    for (int i = 1; i <= s.listCount; ++i) EXPECT_EQ(s.entry(i).userAnswer, 0);

    w.close();
    Dialogs::setMessageHandler({});
}
