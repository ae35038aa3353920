// The main window by keyboard alone: multiple choice by letters and Enter,
// the command shortcuts with their tooltips, the confirmation before a hand
// in by Ctrl+Enter, Tab through every control with a visible focus frame,
// and keys that type into the search box never answering.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/CommandKeys.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;

namespace {

// A runnable folder whose bank starts with two multiple-choice questions,
// id 1 (A+C) and id 2 (A+B+C), and no pictures.
struct KeyFolder {
    test::TempDir dir;
    explicit KeyFolder(int examCount = 5) {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(30, 5);
        for (int i = 1; i <= 30; ++i) {
            QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
            r.id = i;
            r.picture[0] = '\0';
        }
        bank.records[1].type = kMultipleChoice;
        bank.records[1].answer = 2 | 8;
        bank.records[2].type = kMultipleChoice;
        bank.records[2].answer = 2 | 4 | 8;
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/小车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        state->examCount = examCount;
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString folder() const { return QString::fromStdString(dir.path()); }
};

struct Seams {
    std::vector<QString> messages, questions;
    bool answer = true;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
        Dialogs::setQuestionHandler([this](const QString& q) {
            questions.push_back(q);
            return answer;
        });
    }
    ~Seams() {
        Dialogs::setMessageHandler({});
        Dialogs::setQuestionHandler({});
    }
};

// The window shown and active, as a learner's window is.
void activate(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// A key pressed and released where the focus is, as the keyboard sends it.
void key(QWidget& w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
    QTest::keyClick(target, k, mods);
}

QuestionRecord& record(MainWindow& w, int id) {
    Session& s = w.trainer().s;
    return s.record(s.bank->findById(id));
}

bool ticked(MainWindow& w, char letter) {
    return w.findChild<QCheckBox*>(QStringLiteral("chk%1").arg(QLatin1Char(letter)))->isChecked();
}

} // namespace

TEST(Keyboard, MultipleChoiceByLettersAndEnterIsJudgedAsByClicks) {
    KeyFolder f;
    Seams seams;
    MainWindow w(f.folder());
    activate(w);
    w.findChild<QCheckBox*>("CheckBox2")->setChecked(false); // stay on the question
    key(w, Qt::Key_1, Qt::ControlModifier); // 顺序练习: ids in order
    Session& s = w.trainer().s;
    ASSERT_EQ(s.modeCode, 0);
    ASSERT_EQ(s.shown()->id, 1);
    ASSERT_TRUE(w.findChild<QWidget*>("pnlduanxuan")->isVisible());

    key(w, Qt::Key_A);
    key(w, Qt::Key_C);
    EXPECT_TRUE(ticked(w, 'A'));
    EXPECT_FALSE(ticked(w, 'B'));
    EXPECT_TRUE(ticked(w, 'C'));
    EXPECT_EQ(s.shown()->userAnswer, 0) << "a right tick waits for 完成";
    key(w, Qt::Key_Return);
    EXPECT_EQ(s.shown()->userAnswer, 2 | 8);
    EXPECT_TRUE(s.shown()->firstRight);
    EXPECT_EQ(record(w, 1).rightCount, 1);
    EXPECT_EQ(record(w, 1).wrongCount, 0);

    key(w, Qt::Key_Down);
    ASSERT_EQ(s.shown()->id, 2);
    EXPECT_FALSE(ticked(w, 'A')) << "the boxes show the new question's answer";
    for (Qt::Key k : {Qt::Key_A, Qt::Key_B, Qt::Key_D, Qt::Key_D, Qt::Key_C}) key(w, k);
    EXPECT_FALSE(ticked(w, 'D')) << "a second D unticks it";
    // D was a wrong tick: judged and counted at once, as its click would.
    EXPECT_EQ(record(w, 2).wrongCount, 1);
    key(w, Qt::Key_Enter); // the keypad's Enter as well
    EXPECT_EQ(s.shown()->userAnswer, 2 | 4 | 8);
    EXPECT_EQ(record(w, 2).rightCount, 0) << "counted once, the first time";

    // The letters keep their single-choice meaning on other questions.
    key(w, Qt::Key_Down);
    ASSERT_NE(s.shown()->type, 3);
    key(w, Qt::Key_A);
    EXPECT_EQ(s.shown()->userAnswer, s.shown()->type == 2 ? 6 : 1);
    EXPECT_TRUE(seams.questions.empty());
}

TEST(Keyboard, EveryCommandShowsItsKeyInItsTooltip) {
    KeyFolder f;
    Seams seams;
    MainWindow w(f.folder());
    for (const CommandKey& e : CommandKeys::all()) {
        if (std::string_view(e.window) != "TForm1") continue;
        QWidget* c = w.findChild<QWidget*>(QString::fromUtf8(e.control));
        ASSERT_NE(c, nullptr) << e.control;
        EXPECT_TRUE(c->toolTip().contains(QString::fromStdString(CommandKeys::shownKeys(e))))
            << e.control << " " << c->toolTip().toStdString();
    }
}

TEST(Keyboard, ShortcutsWorkTheToolStripAndThePanels) {
    KeyFolder f;
    Seams seams;
    MainWindow w(f.folder());
    activate(w);
    Session& s = w.trainer().s;
    auto visible = [&w](const char* name) { return w.findChild<QWidget*>(name)->isVisible(); };

    // 交卷 is hidden in practice: its keys do nothing, no question is asked.
    key(w, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(seams.questions.empty());

    key(w, Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(s.modeCode, 3);
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("模拟真实考试练习")));
    // Ctrl+Enter asks first; "no" leaves the exam running.
    seams.answer = false;
    key(w, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(seams.questions.size(), 1u);
    EXPECT_EQ(seams.questions[0], QString::fromUtf8(CommandKeys::kConfirmHandIn));
    EXPECT_TRUE(visible("pnl2"));
    EXPECT_FALSE(visible("Panel2"));
    seams.answer = true;
    key(w, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_TRUE(visible("Panel2")) << "handed in";
    EXPECT_EQ(s.state->historyCount, 1);
    key(w, Qt::Key_1, Qt::AltModifier); // 关闭 the result
    EXPECT_FALSE(visible("Panel2"));

    key(w, Qt::Key_5, Qt::ControlModifier);
    EXPECT_TRUE(visible("pnl1"));
    key(w, Qt::Key_2, Qt::AltModifier); // 曾经全部错题
    key(w, Qt::Key_1, Qt::AltModifier); // 刚才的错题
    EXPECT_TRUE(visible("pnl1"));

    key(w, Qt::Key_F1);
    EXPECT_TRUE(visible("pnlIE"));
    EXPECT_TRUE(w.findChild<QTextBrowser*>("WebBrowser1")->toPlainText().contains(QStringLiteral("Ctrl+F")));

    key(w, Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(visible("pnl2"));
    auto* toggle = w.findChild<QPushButton*>("BitBtn9");
    const QString caption = toggle->text();
    key(w, Qt::Key_L, Qt::ControlModifier);
    EXPECT_NE(toggle->text(), caption);
    key(w, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(toggle->text(), caption);
}

TEST(Keyboard, TypingInTheSearchBoxNeverAnswers) {
    KeyFolder f;
    Seams seams;
    MainWindow w(f.folder());
    activate(w);
    Session& s = w.trainer().s;
    key(w, Qt::Key_3, Qt::ControlModifier); // a single- or true/false list
    const int shownBefore = s.current;
    key(w, Qt::Key_F, Qt::ControlModifier);
    auto* edit = w.findChild<QLineEdit*>("edtchazhao");
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), edit) << "Ctrl+F puts the focus in the search box";
    for (Qt::Key k : {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D, Qt::Key_Up, Qt::Key_Down, Qt::Key_Return})
        key(w, k);
    for (int i = 1; i <= s.listCount; ++i) EXPECT_EQ(s.entry(i).userAnswer, 0) << i;
    EXPECT_EQ(s.current, shownBefore);
    EXPECT_EQ(edit->text(), "abcd");
}

TEST(Keyboard, TabReachesEveryControlAndMarksThePictureInFocus) {
    KeyFolder f;
    Seams seams;
    MainWindow w(f.folder());
    activate(w);
    key(w, Qt::Key_1, Qt::ControlModifier); // a multiple-choice question: boxes and 完成 show
    w.findChild<QWidget*>("ima_sunxu")->setFocus(Qt::TabFocusReason);
    std::vector<QString> order;
    for (int i = 0; i < 80; ++i) {
        order.push_back(QApplication::focusWidget()->objectName());
        key(w, Qt::Key_Tab);
    }
    std::set<QString> reached(order.begin(), order.end());
    for (const char* name : {"ima_sunxu", "Imchuji", "Ima_nanti", "Ima_kaoshi", "Ima_cuowuji", "Ima_tiku", "img_lishi",
                             "img_shezhi", "imgzhuozhe", "Pifu", "img5", "Memo1", "chkA", "chkH", "btnduoxuan", "UP",
                             "DO", "Button2", "BitBtn9", "CheckBox1", "CheckBox2", "ScrollBox1"})
        EXPECT_TRUE(reached.count(QString::fromUtf8(name))) << name;
    auto at = [&order](const char* name) {
        return std::find(order.begin(), order.end(), QString::fromUtf8(name)) - order.begin();
    };
    // The tool strip, then the question, its answers, then the commands.
    EXPECT_LT(at("img_shezhi"), at("Memo1"));
    EXPECT_LT(at("Memo1"), at("chkA"));
    EXPECT_LT(at("chkA"), at("chkB"));
    EXPECT_LT(at("chkH"), at("btnduoxuan"));
    EXPECT_LT(at("btnduoxuan"), at("UP"));
    EXPECT_LT(at("UP"), at("DO"));

    // The picture in focus carries a frame; without focus it has none.
    auto* picture = w.findChild<PictureButton*>("Ima_kaoshi");
    w.findChild<QWidget*>("Memo1")->setFocus();
    const QImage plain = picture->grab().toImage();
    picture->setFocus(Qt::TabFocusReason);
    const QImage framed = picture->grab().toImage();
    EXPECT_NE(plain, framed);
    // Space clicks the picture in focus.
    key(w, Qt::Key_Space);
    EXPECT_EQ(w.trainer().s.modeCode, 3);
}

TEST(Keyboard, PictureButtonsReactToEveryMouseButtonAndClickOnTheLeft) {
    KeyFolder f;
    Seams seams;
    MainWindow w(f.folder());
    activate(w);
    for (const char* name : {"ima_sunxu", "Image1", "img5"}) {
        auto* b = w.findChild<PictureButton*>(name);
        ASSERT_NE(b, nullptr);
        QSignalSpy pressed(b, &PictureButton::pressed), clicked(b, &PictureButton::clicked);
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::BackButton}) {
            QTest::mousePress(b, button);
            QTest::mouseRelease(b, button);
        }
        EXPECT_EQ(pressed.count(), 3) << name;
        EXPECT_EQ(clicked.count(), 0) << name << ": only the left button runs the command";
        if (std::string_view(name) == "img5") break; // its click would close the window
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(pressed.count(), 4) << name;
        EXPECT_EQ(clicked.count(), 1) << name;
    }
    EXPECT_TRUE(w.isVisible());
}
