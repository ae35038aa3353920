// The picker's keys and wheel, and pictures that are there but cannot be
// read, in the real window.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "ui/AnalysisDialog.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;

namespace {

// A bank of single-choice questions (answer A); questions 1 and 2 name
// pictures that hold no picture, question 3 a picture that is missing.
struct Folder {
    test::TempDir dir;
    explicit Folder(int questions) {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(questions, 5);
        for (int i = 1; i <= questions; ++i) {
            auto& r = bank.records[static_cast<std::size_t>(i)];
            r.id = i;
            r.type = 1;
            r.answer = 1;
            r.wrongCount = i <= 3 ? 9 - i : 0; // 1, 2, 3 lead the bank list
            writeField(r.picture, i == 1 ? "junk1.png" : i == 2 ? "junk2.png" : i == 3 ? "gone.png" : "");
        }
        BankFile::store(bank, dir.file("bankdata/b.tk"));
        dir.write("bankdata/junk1.png", "not a picture at all");
        dir.write("bankdata/junk2.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut short");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
    }
};

struct Messages {
    std::vector<QString> seen;
    Messages() {
        Dialogs::setMessageHandler([this](const QString& m) { seen.push_back(m); });
    }
    ~Messages() { Dialogs::setMessageHandler({}); }
    int count(const QString& part) const {
        return static_cast<int>(std::count_if(seen.begin(), seen.end(), [&](const QString& m) { return m.contains(part); }));
    }
};

void wheel(QWidget* target, int delta) {
    QPoint at(10, 10);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST(WindowDetails, ArrowKeysMoveQuestionsAndNeverScrollThePicker) {
    Folder f(400);
    Messages messages;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    Session& s = w.trainer().s;
    w.trainer().modes.SunXuClick();
    auto* box = w.findChild<QScrollArea*>("ScrollBox1");
    ASSERT_TRUE(box);
    QScrollBar* bar = box->verticalScrollBar();
    box->setFocus();
    bar->setValue(300);
    const int before = s.current;
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(s.current, before + 1);
    EXPECT_EQ(bar->value(), 300);
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(s.current, before - 1 < 1 ? s.listCount : before - 1);
    EXPECT_EQ(bar->value(), 300);

    // The wheel: one row of cells a notch, and half notches add up.
    wheel(box->viewport(), -120);
    EXPECT_EQ(bar->value(), 330);
    wheel(box->viewport(), -240);
    EXPECT_EQ(bar->value(), 390);
    wheel(box->viewport(), 60);
    EXPECT_EQ(bar->value(), 390);
    wheel(box->viewport(), 60);
    EXPECT_EQ(bar->value(), 360);
    w.close();
}

TEST(WindowDetails, AnAnalysisPictureThatCannotBeReadIsToldLikeAMissingOne) {
    Folder f(20);
    Messages messages;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    Session& s = w.trainer().s;
    w.trainer().nav.setAutoNext(false);
    w.trainer().modes.SunXuClick();
    // Answer question 1 (its picture is junk) wrong.
    int at = 1;
    while (at < s.listCount && s.entry(at).id != 1) ++at;
    ASSERT_EQ(s.entry(at).id, 1);
    w.trainer().view.showQuestion(at);
    messages.seen.clear();
    QTest::mouseClick(w.findChild<PictureButton*>("Image3"), Qt::LeftButton);
    QTest::mouseClick(w.findChild<PictureButton*>("Ima_cuowuji"), Qt::LeftButton);
    auto* lv1 = w.findChild<QTreeWidget*>("lv1");
    ASSERT_EQ(lv1->topLevelItemCount(), 1);
    lv1->setCurrentItem(lv1->topLevelItem(0));
    messages.seen.clear();
    bool opened = false;
    QTimer::singleShot(0, [&] {
        AnalysisDialog* d = w.analysisDialog();
        ASSERT_TRUE(d->isVisible());
        EXPECT_FALSE(d->findChild<QLabel*>("Image")->isVisible());
        opened = true;
        d->accept();
    });
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_EQ(messages.count(QStringLiteral("汗~怎么找不到图片：junk1.png")), 1);
    w.close();
}

TEST(WindowDetails, TheBankBrowserReportsEveryPictureThatFails) {
    Folder f(20);
    Messages messages;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QTest::mouseClick(w.findChild<PictureButton*>("Ima_tiku"), Qt::LeftButton);
    auto* lv2 = w.findChild<QTreeWidget*>("lv2");
    ASSERT_GE(lv2->topLevelItemCount(), 3);
    messages.seen.clear();
    // Most often wrong first: questions 1, 2, 3.
    for (int row : {0, 1, 2, 0}) lv2->setCurrentItem(lv2->topLevelItem(row));
    EXPECT_EQ(messages.count(QStringLiteral("junk1.png")), 2);
    EXPECT_EQ(messages.count(QStringLiteral("junk2.png")), 1);
    EXPECT_EQ(messages.count(QStringLiteral("汗~怎么找不到图片：gone.png")), 1);
    w.close();
}
