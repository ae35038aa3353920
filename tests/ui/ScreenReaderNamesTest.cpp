// What assistive technology reads from the real window: every showing
// button, picture, text and list has a name, the picture buttons are
// buttons that can be pressed, and the question on show, its options, the
// judgement and the time left are described.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "support/PracticeFolder.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;

namespace {

struct NamesFolder : test::PracticeFolder {
    NamesFolder() : PracticeFolder(30, 3) {}
};

struct Quiet {
    Quiet() { Dialogs::setMessageHandler([](const QString&) {}); }
    ~Quiet() { Dialogs::setMessageHandler({}); }
};

bool checked(QAccessible::Role r) {
    switch (r) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::Graphic:
    case QAccessible::StaticText:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
        return true;
    default:
        return false;
    }
}

// Walks the accessibility tree as a screen reader does and lists what shows
// without a name ("role objectName").
void unnamed(QAccessibleInterface* node, std::vector<std::string>& out, int depth = 0) {
    if (!node || depth > 30) return;
    const bool showing = !node->state().invisible && !node->state().offscreen;
    if (!showing) return;
    if (checked(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty()) {
        QObject* o = node->object();
        out.push_back(std::to_string(node->role()) + " " + (o ? o->objectName().toStdString() : std::string("?")));
    }
    // Rows and cells of the lists are named by their text; their columns'
    // headers need no check here.
    if (node->role() == QAccessible::Table || node->role() == QAccessible::Tree || node->role() == QAccessible::List)
        return;
    for (int i = 0; i < node->childCount(); ++i) unnamed(node->child(i), out, depth + 1);
}

std::vector<std::string> unnamedIn(QWidget& w) {
    std::vector<std::string> out;
    unnamed(QAccessible::queryAccessibleInterface(&w), out);
    return out;
}

QString description(QWidget& w, const char* name) { return w.findChild<QWidget*>(name)->accessibleDescription(); }

} // namespace

TEST(ScreenReaderNames, NothingShowingIsNamelessOnAnyPanel) {
    NamesFolder f;
    Quiet quiet;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Trainer& t = w.trainer();
    const struct { const char* panel; std::function<void()> open; } panels[] = {
        {"practice", [&] { t.modes.SunXuClick(); }},
        {"exam", [&] { t.modes.KaoShiClick(); }},
        {"error collection", [&] { t.review.btnErrorLianXClick(); }},
        {"search", [&] { t.search.btn2Click(); }},
        {"information", [&] { w.Button5Click(); }},
        {"exam result", [&] {
             t.modes.KaoShiClick();
             t.exam.JIAOJUANClick();
         }},
    };
    for (const auto& p : panels) {
        p.open();
        QCoreApplication::processEvents();
        const auto missing = unnamedIn(w);
        EXPECT_TRUE(missing.empty()) << p.panel << ": " << ::testing::PrintToString(missing);
    }
}

TEST(ScreenReaderNames, PictureButtonsAreButtonsAScreenReaderCanPress) {
    NamesFolder f;
    Quiet quiet;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    auto* exam = w.findChild<PictureButton*>("Ima_kaoshi");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(exam);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("模拟考试"));
    EXPECT_TRUE(a->state().focusable);
    ASSERT_NE(a->actionInterface(), nullptr);
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(w.trainer().s.modeCode, 3);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w.findChild<PictureButton*>("Image4"))->text(QAccessible::Name),
              QStringLiteral("对"));
}

TEST(ScreenReaderNames, TheQuestionItsOptionsJudgementAndTimeAreDescribed) {
    NamesFolder f;
    Quiet quiet;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    Session& s = w.trainer().s;
    w.trainer().modes.SunXuClick();
    // The first single-choice question of the list.
    while (s.shown()->type != 1 && s.current < s.listCount) w.trainer().nav.DOClick();
    ASSERT_EQ(s.shown()->type, 1);
    const QString text = QString::fromStdString(gbk::toUtf8Lossy(readField(s.record(s.bank->findById(s.shown()->id)).text)));
    const QString memo = description(w, "Memo1");
    EXPECT_TRUE(memo.contains(QStringLiteral("本题ID："))) << memo.toStdString();
    EXPECT_TRUE(memo.contains(text.section(QLatin1Char('\r'), 0, 0))) << memo.toStdString();
    EXPECT_FALSE(description(w, "Image1").isEmpty()) << "the option text of A";
    EXPECT_TRUE(text.contains(description(w, "Image1")));
    EXPECT_TRUE(description(w, "Label4").isEmpty());

    w.trainer().judge.answerQuestion(s.shown()->answer == 1 ? 2 : 1); // a wrong answer
    EXPECT_FALSE(description(w, "Label4").isEmpty());
    EXPECT_EQ(description(w, "Label4"), description(w, "Image2"));

    w.trainer().modes.KaoShiClick();
    w.trainer().nav.tmrKAOSHITimer();
    w.trainer().exam.tmruptimeTimer();
    EXPECT_TRUE(description(w, "lbl1").contains(QStringLiteral("还有"))) << description(w, "lbl1").toStdString();
    EXPECT_EQ(w.findChild<QWidget*>("lbl1")->accessibleName(), QStringLiteral("剩余时间"));
}
