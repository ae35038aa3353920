// 智能复习 in the real window: the button and Ctrl+9 start the list, the
// label under the judgement says when the question comes back, the settings
// group stores its two values, and the chance to pass shows on the result
// panel, the information page, in 学习进度 and as a line of the trend.
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <ctime>

#include "data/FileBytes.h"
#include "data/StateFile.h"
#include "support/JournalAnswers.h"
#include "support/PracticeFolder.h"
#include "ui/AnswerByHand.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"
#include "ui/SettingsDialog.h"
#include "ui/charts/ProgressView.h"
#include "ui/charts/TrendChartView.h"

using namespace cxb;
using cxb::testing::kHour;
using cxb::testing::kMonday;

namespace {

struct Seams {
    std::vector<QString> messages;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
        Dialogs::setQuestionHandler([](const QString&) { return true; });
    }
    // The window shows messages of its own (skin pictures the folder lacks).
    int count(const QString& m) const { return static_cast<int>(std::count(messages.begin(), messages.end(), m)); }
    ~Seams() {
        Dialogs::setMessageHandler({});
        Dialogs::setQuestionHandler({});
    }
};

// The window on a folder of 40 questions, its clocks on Monday 9:00 Beijing
// time and moving on 20 seconds each time the journal reads them.
struct Window {
    test::PracticeFolder folder{40, 17};
    MainWindow w{QString::fromStdString(folder.dir.path())};
    std::int64_t nowMs = kMonday + 9 * kHour;
    Window() {
        w.trainer().journal.setClock([this] { return nowMs += 20000; });
        w.trainer().exam.setClock([this] { return static_cast<std::time_t>(nowMs / 1000); });
        // Hand-in times are written in this computer's time zone.
        w.trainer().memory.setDays(LearnerDays::local(nowMs));
        w.show();
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    Session& s() { return w.trainer().s; }
    QLabel* label(const char* name) { return w.findChild<QLabel*>(name); }
};

// The answer of the question on show that is wrong, by the same controls.
void answerWrong(MainWindow& w, const ListEntry& e) {
    if (e.type == 2) {
        QTest::keyClick(&w, e.answer == 6 ? Qt::Key_B : Qt::Key_A);
    } else if (e.type == 1) {
        const char* names[] = {"Image1", "Image3", "img3", "img4"};
        QTest::mouseClick(w.findChild<PictureButton*>(names[e.answer == 1 ? 1 : 0]), Qt::LeftButton);
    } else {
        // A box outside the right answer is wrong at once.
        for (int bit = 0; bit < 4; ++bit)
            if (!(e.answer & (2 << bit))) {
                w.findChild<QCheckBox*>(QStringLiteral("chk%1").arg(QChar('A' + bit)))->click();
                break;
            }
    }
}

// Nothing else visible of the same panel lies under the label.
void expectClearOfItsNeighbours(QWidget* label) {
    ASSERT_NE(label, nullptr);
    for (QObject* o : label->parentWidget()->children()) {
        auto* other = qobject_cast<QWidget*>(o);
        if (!other || other == label || !other->isVisible()) continue;
        EXPECT_FALSE(label->geometry().intersects(other->geometry()))
            << label->objectName().toStdString() << " overlaps " << other->objectName().toStdString();
    }
}

TEST(SmartReviewWindow, TheButtonAndCtrl9StartTheListAndEachAnswerSaysWhenItComesBack) {
    Seams seams;
    Window win;
    QLabel* comeBack = win.label("lblfuxi");
    ASSERT_NE(comeBack, nullptr);
    EXPECT_FALSE(comeBack->isVisible());

    QTest::mouseClick(win.w.findChild<QPushButton*>("btnzhineng"), Qt::LeftButton);
    EXPECT_TRUE(win.w.windowTitle().contains(QStringLiteral("智能复习")));
    ASSERT_EQ(20, win.s().listCount); // today's new questions
    EXPECT_FALSE(comeBack->isVisible());

    // Right on Monday morning: back on Wednesday; wrong: today.
    test::answerRight(win.w, *win.s().shown());
    ASSERT_TRUE(comeBack->isVisible());
    EXPECT_EQ(QStringLiteral("2 天后再复习"), comeBack->text());
    expectClearOfItsNeighbours(comeBack);
    QTest::keyClick(&win.w, Qt::Key_Down);
    EXPECT_FALSE(comeBack->isVisible()); // the next question is not answered yet
    answerWrong(win.w, *win.s().shown());
    EXPECT_EQ(QStringLiteral("今天再复习"), comeBack->text());
    // A screen reader hears it with the judgement.
    EXPECT_TRUE(win.w.findChild<QWidget*>("Label4")->accessibleDescription().endsWith(QStringLiteral("；今天再复习")))
        << win.w.findChild<QWidget*>("Label4")->accessibleDescription().toStdString();

    // Ctrl+9 builds the list again: the two answered today are not new any
    // more and not due yet, 18 new ones are left of today's 20.
    QTest::keyClick(&win.w, Qt::Key_9, Qt::ControlModifier);
    EXPECT_EQ(18, win.s().listCount);
    EXPECT_EQ(0, seams.count(QStringLiteral("今天没有要复习的题目。下一批在 1 天后。")));
}

TEST(SmartReviewWindow, NothingDueSaysWhenTheNextBatchComes) {
    Seams seams;
    Window win;
    QTest::mouseClick(win.w.findChild<QPushButton*>("btnzhineng"), Qt::LeftButton);
    for (int i = 1; i <= win.s().listCount; ++i) {
        win.w.trainer().view.showQuestion(i);
        test::answerRight(win.w, *win.s().shown());
    }
    QTest::mouseClick(win.w.findChild<QPushButton*>("btnzhineng"), Qt::LeftButton);
    EXPECT_EQ(1, seams.count(QStringLiteral("今天没有要复习的题目。下一批在 1 天后。")));
}

TEST(SmartReviewWindow, TheResultPanelAndTheInformationPageShowTheChance) {
    Seams seams;
    Window win;
    QTest::mouseClick(win.w.findChild<PictureButton*>("Ima_kaoshi"), Qt::LeftButton);
    ASSERT_EQ(5, win.s().listCount);
    // One question answered; a multiple choice one counts only at the
    // hand-in's score, so the first other one.
    int at = 1;
    while (at <= 5 && win.s().entry(at).type == 3) ++at;
    ASSERT_LE(at, 5) << "a paper of multiple choice questions only";
    win.w.trainer().view.showQuestion(at);
    test::answerRight(win.w, *win.s().shown());
    // No word on when it comes back while the paper is being answered.
    EXPECT_FALSE(win.label("lblfuxi")->isVisible());
    QTest::mouseClick(win.w.findChild<QPushButton*>("JIAOJUAN"), Qt::LeftButton);
    ASSERT_TRUE(win.w.findChild<QWidget*>("Panel2")->isVisible());
    QLabel* chance = win.label("lbltongguo");
    ASSERT_NE(chance, nullptr);
    EXPECT_TRUE(chance->isVisible());
    EXPECT_TRUE(chance->text().startsWith(QStringLiteral("现在考试，通过的可能"))) << chance->text().toStdString();
    EXPECT_TRUE(chance->text().contains(QStringLiteral("\n（40 题中还有 39 题没有答过"))) << chance->text().toStdString();
    expectClearOfItsNeighbours(chance);

    QTest::keyClick(&win.w, Qt::Key_F1);
    const QString page = win.w.findChild<QTextBrowser*>("WebBrowser1")->toPlainText();
    EXPECT_TRUE(page.contains(QStringLiteral("今天到期 0 题，还可做新题 19 道"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("现在考试，通过的可能"))) << page.toStdString();
}

TEST(SmartReviewWindow, TheSettingsGroupStoresRetentionAndNewQuestions) {
    Seams seams;
    Window win;
    {
        SettingsDialog d(win.w);
        d.show();
        auto* retention = d.findChild<QSpinBox*>("spnbaochilv");
        auto* perDay = d.findChild<QSpinBox*>("spnxinti");
        ASSERT_TRUE(retention && perDay);
        EXPECT_TRUE(retention->isVisible());
        EXPECT_EQ(QStringLiteral("记忆保持率"), retention->accessibleName());
        EXPECT_EQ(90, retention->value());
        EXPECT_EQ(20, perDay->value());
        EXPECT_EQ(70, retention->minimum());
        EXPECT_EQ(97, retention->maximum());
        EXPECT_EQ(0, perDay->minimum());
        EXPECT_EQ(200, perDay->maximum());
        expectClearOfItsNeighbours(retention->parentWidget());
        for (QLabel* l : retention->parentWidget()->findChildren<QLabel*>())
            EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString();
        retention->setValue(85);
        perDay->setValue(5);
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        EXPECT_EQ(QDialog::Accepted, d.result());
    }
    const std::string file = win.folder.dir.read("bankdata/sys.dat");
    ASSERT_EQ(sizeof(Sfile), file.size());
    EXPECT_EQ(850, readInt32(reinterpret_cast<const unsigned char*>(file.data() + offsetof(Sfile, reserved1))));
    EXPECT_EQ(6, readInt32(reinterpret_cast<const unsigned char*>(file.data() + offsetof(Sfile, reserved2))));
    // The list takes the new allowance at once, and the dialog shows it again.
    QTest::mouseClick(win.w.findChild<QPushButton*>("btnzhineng"), Qt::LeftButton);
    EXPECT_EQ(5, win.s().listCount);
    SettingsDialog again(win.w);
    EXPECT_EQ(85, again.findChild<QSpinBox*>("spnbaochilv")->value());
    EXPECT_EQ(5, again.findChild<QSpinBox*>("spnxinti")->value());
}

TEST(SmartReviewWindow, ProgressAndTrendShowThePassChance) {
    Seams seams;
    Window win;
    // A paper before any practice, a morning's practice, another paper.
    for (int paper = 0; paper < 2; ++paper) {
        QTest::mouseClick(win.w.findChild<PictureButton*>("Ima_kaoshi"), Qt::LeftButton);
        QTest::mouseClick(win.w.findChild<QPushButton*>("JIAOJUAN"), Qt::LeftButton);
        if (paper == 1) break;
        QTest::mouseClick(win.w.findChild<QPushButton*>("btnzhineng"), Qt::LeftButton);
        for (int i = 1; i <= win.s().listCount; ++i) {
            win.w.trainer().view.showQuestion(i);
            test::answerRight(win.w, *win.s().shown());
        }
    }

    ProgressView progress(win.w.trainer().memory.bankProgress());
    progress.show();
    auto* pass = progress.findChild<QLabel*>("lblPassChance");
    ASSERT_NE(pass, nullptr);
    EXPECT_TRUE(pass->text().startsWith(QStringLiteral("现在考试，通过的可能")));
    ASSERT_NE(progress.findChild<QLabel*>("lblDueToday"), nullptr);
    EXPECT_EQ(QStringLiteral("今天没有要复习的题目"), progress.findChild<QLabel*>("lblDueToday")->text());
    EXPECT_TRUE(progress.findChild<QLabel*>("lblDueWeek")->text().startsWith(QStringLiteral("之后七天到期 20 题")));

    // The first paper knows nothing of the learner yet: one point only.
    const ScoreTrend trend = win.w.trainer().memory.scoreTrend();
    ASSERT_EQ(2u, trend.papers.size());
    EXPECT_EQ(-1, trend.papers[0].passChance);
    EXPECT_GE(trend.papers[1].passChance, 0);
    TrendChartView view(trend);
    view.resize(700, 480);
    view.show();
    QChart* chart = view.chartView()->chart();
    QLineSeries* line = nullptr;
    for (QAbstractSeries* series : chart->series())
        if (series->objectName() == QLatin1String("passChanceLine")) line = qobject_cast<QLineSeries*>(series);
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(1, line->count());
    EXPECT_EQ(QPointF(2, trend.papers[1].passChance), line->at(0));
    QValueAxis* axis = nullptr;
    for (QAbstractAxis* a : line->attachedAxes())
        if (a->objectName() == QLatin1String("passChanceAxis")) axis = qobject_cast<QValueAxis*>(a);
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(Qt::AlignRight, axis->alignment());
    EXPECT_EQ(0, axis->min());
    EXPECT_EQ(100, axis->max());
}

} // namespace
