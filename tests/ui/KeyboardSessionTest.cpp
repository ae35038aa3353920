// A whole session in the real window with the keyboard alone: practice, a
// mock exam handed in with Ctrl+Enter, the history with the export, the
// settings, the information page and the close. Every step is a key event
// where the focus is; only the confirmation and the file name come through
// the dialog seams.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "support/PracticeFolder.h"
#include "ui/Dialogs.h"
#include "ui/ExportDialog.h"
#include "ui/HistoryDialog.h"
#include "ui/MainWindow.h"
#include "ui/SettingsDialog.h"

using namespace cxb;

namespace {

struct SessionFolder : test::PracticeFolder {
    SessionFolder() : PracticeFolder(40, 9) {}
};

struct Seams {
    std::vector<QString> messages, questions;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
        Dialogs::setQuestionHandler([this](const QString& q) {
            questions.push_back(q);
            return true;
        });
    }
    ~Seams() {
        Dialogs::setMessageHandler({});
        Dialogs::setQuestionHandler({});
        Dialogs::setSaveFileHandler({});
        HistoryDialog::setShowHandler({});
        ExportDialog::setShowHandler({});
        SettingsDialog::setRunHandler({});
    }
};

void activate(QWidget& w) {
    w.show();
    // The offscreen platform moves the activation along only when asked
    // directly; a modal dialog would be made active by its exec().
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w)) << w.objectName().toStdString();
}

// A key pressed and released where the focus is.
void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, k, mods);
}

// Tabs on until the control of that name has the focus.
void tabTo(const char* name) {
    for (int i = 0; i < 60; ++i) {
        QWidget* f = QApplication::focusWidget();
        if (f && f->objectName() == QLatin1String(name)) return;
        key(Qt::Key_Tab);
    }
    FAIL() << "Tab never reaches " << name;
}

// The right answer of the question on show, by its keys.
void answerByKeys(const ListEntry& e) {
    if (e.type == 2) {
        key(e.answer == 6 ? Qt::Key_A : Qt::Key_B);
    } else if (e.type == 1) {
        key(static_cast<Qt::Key>(Qt::Key_A + e.answer - 1));
    } else {
        for (int bit = 0; bit < 8; ++bit)
            if (e.answer & (2 << bit)) key(static_cast<Qt::Key>(Qt::Key_A + bit));
        key(Qt::Key_Return);
    }
}

} // namespace

TEST(KeyboardSession, PracticeExamHistoryExportSettingsAndCloseByKeysAlone) {
    SessionFolder f;
    Seams seams;
    auto w = std::make_unique<MainWindow>(QString::fromStdString(f.dir.path()));
    activate(*w);
    Session& s = w->trainer().s;

    // 自动进入下一题 off, by Tab and space, so that only ↓ moves on.
    w->findChild<QWidget*>("ima_sunxu")->setFocus(Qt::TabFocusReason);
    tabTo("CheckBox2");
    key(Qt::Key_Space);
    ASSERT_FALSE(w->findChild<QCheckBox*>("CheckBox2")->isChecked());

    // Practice: the whole sequential list's first six, each answered right.
    key(Qt::Key_1, Qt::ControlModifier);
    ASSERT_EQ(s.modeCode, 0);
    int right = 0;
    for (int i = 1; i <= 6; ++i) {
        answerByKeys(*s.shown());
        right += s.shown()->userAnswer == s.shown()->answer && s.shown()->firstRight;
        key(Qt::Key_Down);
    }
    EXPECT_EQ(right, 6);

    // A mock exam of five, answered by keys and handed in with Ctrl+Enter.
    key(Qt::Key_4, Qt::ControlModifier);
    ASSERT_EQ(s.modeCode, 3);
    ASSERT_EQ(s.listCount, 5);
    for (int i = 1; i <= 5; ++i) {
        answerByKeys(*s.shown());
        EXPECT_EQ(s.shown()->userAnswer, s.shown()->answer) << "exam question " << i;
        if (i < 5) key(Qt::Key_Down);
    }
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(seams.questions.size(), 1u) << "交卷 asks first";
    ASSERT_TRUE(w->findChild<QWidget*>("Panel2")->isVisible());
    EXPECT_TRUE(w->findChild<QLabel*>("LabelMessage")->text().startsWith(QStringLiteral("你的分数是:5；")));
    EXPECT_EQ(s.state->historyCount, 1);
    key(Qt::Key_1, Qt::AltModifier); // 关闭
    EXPECT_FALSE(w->findChild<QWidget*>("Panel2")->isVisible());

    // History: the paper chosen with ↓, exported with Alt+3; in the export
    // Alt+1 switches to the page without answers, Ctrl+S saves it, Esc
    // closes; Esc closes the history.
    const std::string saved = f.dir.file("saved.htm");
    Dialogs::setSaveFileHandler([&](const QString&) { return QString::fromStdString(saved); });
    bool exported = false, listed = false;
    ExportDialog::setShowHandler([&](ExportDialog& e) {
        exported = true;
        activate(e);
        EXPECT_TRUE(e.shownPage().endsWith("h.htm"));
        key(Qt::Key_1, Qt::AltModifier);
        EXPECT_TRUE(e.shownPage().endsWith("n.htm"));
        key(Qt::Key_S, Qt::ControlModifier);
        key(Qt::Key_Escape);
        EXPECT_FALSE(e.isVisible());
    });
    HistoryDialog::setShowHandler([&](HistoryDialog& d) {
        listed = true;
        activate(d);
        d.list()->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Down);
        ASSERT_NE(d.list()->currentItem(), nullptr);
        key(Qt::Key_3, Qt::AltModifier);
        activate(d);
        key(Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    activate(*w);
    key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(listed);
    EXPECT_TRUE(exported);
    // The saved copy is the page that travels: the paper without answers,
    // with its header.
    const std::string page = f.dir.read("saved.htm");
    EXPECT_NE(page.find("<meta charset=\"utf-8\""), std::string::npos);
    EXPECT_NE(page.find("模拟考试卷（无答案）"), std::string::npos);

    // Settings: Tab to the exam size, type it, Enter is 确定.
    bool set = false;
    SettingsDialog::setRunHandler([&](SettingsDialog& d) {
        set = true;
        activate(d);
        tabTo("edtkaoshitishu");
        key(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "8");
        key(Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    activate(*w);
    key(Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_TRUE(set);
    EXPECT_EQ(s.state->examCount, 8);
    auto onDisk = StateFile::newRecord();
    StateFile::parse(f.dir.read("bankdata/sys.dat"), *onDisk);
    EXPECT_EQ(onDisk->examCount, 8);

    // The information page lists the keys; Ctrl+Q closes and writes the
    // counters back.
    activate(*w);
    key(Qt::Key_F1);
    EXPECT_TRUE(w->findChild<QWidget*>("pnlIE")->isVisible());
    EXPECT_TRUE(w->findChild<QTextBrowser*>("WebBrowser1")->toPlainText().contains(QStringLiteral("Ctrl+Enter")));
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w->isVisible());
    Bank stored = std::move(*BankFile::open(f.dir.file("bankdata/小车.tk")));
    int answered = 0;
    for (int i = 1; i <= stored.questionCount(); ++i) answered += stored.records[static_cast<std::size_t>(i)].answerCount;
    EXPECT_GE(answered, 6) << "the practice answers reached the bank file";
}
