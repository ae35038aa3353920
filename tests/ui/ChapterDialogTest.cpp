// The chapter window and the star in the real main window, offscreen: the
// rows and their figures, choosing a row by button, Enter and double click,
// the star button and Ctrl+D, 我的收藏 and 随机练习 from the row under
// the question commands, and the mastery setting in the settings dialog.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/QuestionFiling.h"
#include "data/StateFile.h"
#include "engine/ChosenModes.h"
#include "engine/FiledPractice.h"
#include "engine/MasterySetting.h"
#include "engine/StarToggle.h"
#include "engine/Texts.h"
#include "support/TempDir.h"
#include "ui/AnalysisDialog.h"
#include "ui/ChapterDialog.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/SettingsDialog.h"

using namespace cxb;

namespace {

// 24 single-choice questions: ids 1..24 filed by id % 4 under 标志, 标线,
// 驾驶证 and, for id % 4 == 3, under neither (未分类). Ids 1 and 2 were
// answered before, 2 wrongly.
struct ChapterFolder {
    test::TempDir dir;
    ChapterFolder() {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(24, 21);
        const int signalChapter = QuestionFiling::chapterIndex("道路交通信号");
        const int law = QuestionFiling::chapterIndex("道路交通安全法律、法规和规章");
        for (int i = 1; i <= 24; ++i) {
            QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
            r.id = i;
            r.type = kSingleChoice;
            r.answer = kAnswerA;
            r.rightCount = r.wrongCount = r.answerCount = 0;
            writeField(r.picture, "");
            std::memset(r.reserved, 0, sizeof r.reserved);
            if (i % 4 == 0) QuestionFiling::store(r, {signalChapter, QuestionFiling::topicIndex("标志")});
            if (i % 4 == 1) QuestionFiling::store(r, {signalChapter, QuestionFiling::topicIndex("标线")});
            if (i % 4 == 2) QuestionFiling::store(r, {law, QuestionFiling::topicIndex("驾驶证")});
        }
        bank.records[1].rightCount = 1;
        bank.records[2].wrongCount = 1;
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/b.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
};

// Records the message boxes. The folder holds no skin pictures and the
// offscreen screen is small, so the window's reports of those are left out.
struct Seams {
    std::vector<QString> messages;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) {
            if (m.startsWith(QStringLiteral("无法加载图片：")) || m.startsWith(QString::fromUtf8(texts::kSmallScreen))) return;
            messages.push_back(m);
        });
    }
    ~Seams() {
        Dialogs::setMessageHandler({});
        ChapterDialog::setRunHandler({});
        SettingsDialog::setRunHandler({});
    }
};

void activate(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

std::vector<int> listIds(MainWindow& w) {
    Session& s = w.trainer().s;
    std::vector<int> ids;
    for (int i = 1; i <= s.listCount; ++i) ids.push_back(s.entry(i).id);
    return ids;
}

std::vector<int> sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<int> idsWithRest(int rest) {
    std::vector<int> ids;
    for (int id = 1; id <= 24; ++id)
        if (id % 4 == rest) ids.push_back(id);
    return ids;
}

QTreeWidgetItem* itemNamed(QTreeWidget* tree, const QString& name) {
    const auto found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.isEmpty() ? nullptr : found.front();
}

QStringList rowTexts(QTreeWidgetItem* item) {
    QStringList out;
    for (int c = 0; c < item->columnCount(); ++c) out << item->text(c);
    return out;
}

} // namespace

TEST(ChapterDialog, ListsTheChaptersWithTheirTopicsAndFiguresAndStartsTheChosenTopic) {
    ChapterFolder f;
    Seams seams;
    MainWindow w(QString::fromStdString(f.dir.path()));
    activate(w);
    bool shown = false;
    ChapterDialog::setRunHandler([&](ChapterDialog& d) {
        shown = true;
        EXPECT_EQ(d.objectName(), "TFormChapters");
        EXPECT_EQ(d.windowTitle(), QStringLiteral("章节练习、专项练习"));
        QTreeWidget* tree = d.tree();
        // Four chapters and 未分类 at the top, the topics beneath their chapter.
        ASSERT_EQ(tree->topLevelItemCount(), 5);
        EXPECT_EQ(tree->topLevelItem(4)->text(0), QStringLiteral("未分类"));
        QTreeWidgetItem* signalChapter = tree->topLevelItem(1);
        EXPECT_EQ(signalChapter->text(0), QStringLiteral("道路交通信号"));
        ASSERT_EQ(signalChapter->childCount(), 2);
        EXPECT_EQ(rowTexts(signalChapter->child(0)),
                  (QStringList{QStringLiteral("标志"), "6", "0", "0", "0", "0%"}));
        EXPECT_EQ(rowTexts(signalChapter->child(1)),
                  (QStringList{QStringLiteral("标线"), "6", "1", "1", "0", "16%"}));
        EXPECT_EQ(rowTexts(tree->topLevelItem(0)),
                  (QStringList{QStringLiteral("道路交通安全法律、法规和规章"), "6", "1", "0", "1", "16%"}));
        EXPECT_EQ(tree->topLevelItem(2)->childCount(), 0);
        EXPECT_EQ(tree->headerItem()->text(5), QStringLiteral("已做比例"));
        // The first row with questions is selected; a row without cannot start a list.
        EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
        auto* sequential = d.findChild<QPushButton*>("btnshunxu");
        auto* random = d.findChild<QPushButton*>("btnsuijilx");
        EXPECT_TRUE(sequential->isDefault());
        tree->setCurrentItem(tree->topLevelItem(2));
        EXPECT_FALSE(sequential->isEnabled());
        EXPECT_FALSE(random->isEnabled());
        EXPECT_FALSE(tree->accessibleName().isEmpty());

        tree->setCurrentItem(itemNamed(tree, QStringLiteral("标志")));
        EXPECT_TRUE(sequential->isEnabled());
        QTest::mouseClick(sequential, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    QTest::mouseClick(w.findChild<QPushButton*>("btnzhangjie"), Qt::LeftButton);
    ASSERT_TRUE(shown);
    EXPECT_EQ(listIds(w), idsWithRest(0));
    EXPECT_EQ(w.trainer().s.modeCode, ChosenModes::kChapter);
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("标志")));
    EXPECT_TRUE(seams.messages.empty());
}

TEST(ChapterDialog, EnterADoubleClickAndTheRandomButtonStartTheirLists) {
    ChapterFolder f;
    Seams seams;
    MainWindow w(QString::fromStdString(f.dir.path()));
    activate(w);

    // Ctrl+6 opens the window; Enter on the list is 顺序练习.
    ChapterDialog::setRunHandler([&](ChapterDialog& d) {
        activate(d);
        d.tree()->setCurrentItem(itemNamed(d.tree(), QStringLiteral("未分类")));
        d.tree()->setFocus();
        QTest::keyClick(d.tree(), Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    QTest::keyClick(&w, Qt::Key_6, Qt::ControlModifier);
    EXPECT_EQ(listIds(w), idsWithRest(3));
    EXPECT_EQ(w.trainer().s.modeCode, ChosenModes::kChapter);

    // A double click on a row.
    ChapterDialog::setRunHandler([&](ChapterDialog& d) {
        activate(d);
        QTreeWidgetItem* item = itemNamed(d.tree(), QStringLiteral("驾驶证"));
        const QRect r = d.tree()->visualItemRect(item);
        // A press and release first, as the mouse sends before a double click.
        QTest::mouseClick(d.tree()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QTest::mouseDClick(d.tree()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        EXPECT_FALSE(d.isVisible());
    });
    QTest::mouseClick(w.findChild<QPushButton*>("btnzhangjie"), Qt::LeftButton);
    EXPECT_EQ(listIds(w), idsWithRest(2));

    // 随机练习 of a chapter: each of its questions once, as a random list.
    ChapterDialog::setRunHandler([&](ChapterDialog& d) {
        d.tree()->setCurrentItem(itemNamed(d.tree(), QStringLiteral("道路交通信号")));
        QTest::mouseClick(d.findChild<QPushButton*>("btnsuijilx"), Qt::LeftButton);
    });
    QTest::mouseClick(w.findChild<QPushButton*>("btnzhangjie"), Qt::LeftButton);
    std::vector<int> signalIds = idsWithRest(0);
    for (int id : idsWithRest(1)) signalIds.push_back(id);
    EXPECT_EQ(sorted(listIds(w)), sorted(signalIds));
    EXPECT_EQ(w.trainer().s.modeCode, ChosenModes::kRandom);

    // 关闭 (Esc) leaves the list on show.
    const std::vector<int> before = listIds(w);
    ChapterDialog::setRunHandler([&](ChapterDialog& d) {
        activate(d);
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    QTest::mouseClick(w.findChild<QPushButton*>("btnzhangjie"), Qt::LeftButton);
    EXPECT_EQ(listIds(w), before);
    EXPECT_TRUE(seams.messages.empty());
}

TEST(ChapterDialog, TheStarButtonCtrlDAndMyFavourites) {
    ChapterFolder f;
    Seams seams;
    MainWindow w(QString::fromStdString(f.dir.path()));
    activate(w);
    Session& s = w.trainer().s;
    auto* star = w.findChild<QPushButton*>("btnxingbiao");
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->accessibleName(), QStringLiteral("收藏本题"));
    EXPECT_TRUE(star->toolTip().contains(QStringLiteral("Ctrl+D")));

    // 我的收藏 with nothing starred: the hint, and the list stays.
    const std::vector<int> before = listIds(w);
    QTest::mouseClick(w.findChild<QPushButton*>("btnshoucang"), Qt::LeftButton);
    EXPECT_EQ(seams.messages, std::vector<QString>{QString::fromUtf8(FiledPractice::kNoFavourites)});
    EXPECT_EQ(listIds(w), before);
    seams.messages.clear();

    // A click stars the question on show, Ctrl+D on the next one too.
    const int first = s.shown()->id;
    EXPECT_EQ(star->text(), QString::fromUtf8(StarToggle::kStar));
    QTest::mouseClick(star, Qt::LeftButton);
    EXPECT_TRUE(star->isChecked());
    EXPECT_EQ(star->text(), QString::fromUtf8(StarToggle::kStarred));
    QTest::mouseClick(w.findChild<QPushButton*>("DO"), Qt::LeftButton);
    const int second = s.shown()->id;
    EXPECT_FALSE(star->isChecked());
    activate(w);
    QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(star->isChecked());
    EXPECT_EQ(s.shown()->userAnswer, 0); // Ctrl+D answers nothing
    // Nor when Ctrl is let go before the D, as hands often do.
    QTest::mouseClick(w.findChild<QPushButton*>("DO"), Qt::LeftButton);
    activate(w);
    QTest::keyPress(&w, Qt::Key_D, Qt::ControlModifier);
    QTest::keyRelease(&w, Qt::Key_D, Qt::NoModifier);
    EXPECT_TRUE(star->isChecked());
    EXPECT_EQ(s.shown()->userAnswer, 0);
    QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier); // and off again
    EXPECT_FALSE(star->isChecked());
    QTest::mouseClick(w.findChild<QPushButton*>("UP"), Qt::LeftButton);
    ASSERT_EQ(s.shown()->id, second);

    // The analysis dialog says it is starred.
    AnalysisDialog analysis(&w);
    analysis.fill(w.trainer().review.analysisOf(second, nullptr));
    EXPECT_EQ(analysis.findChild<QLabel*>("lblxingbiao")->text(), QString::fromUtf8(StarToggle::analysisText(true)));

    QTest::mouseClick(w.findChild<QPushButton*>("btnshoucang"), Qt::LeftButton);
    EXPECT_EQ(listIds(w), sorted({first, second}));
    EXPECT_EQ(s.modeCode, ChosenModes::kFavourites);
    EXPECT_TRUE(star->isChecked());
    EXPECT_TRUE(seams.messages.empty());

    // 随机练习: the whole bank.
    QTest::mouseClick(w.findChild<QPushButton*>("btnsuiji"), Qt::LeftButton);
    EXPECT_EQ(listIds(w).size(), 24u);
    EXPECT_EQ(s.modeCode, ChosenModes::kRandom);
}

TEST(ChapterDialog, TheMasterySettingIsInTheSettingsDialog) {
    ChapterFolder f;
    Seams seams;
    MainWindow w(QString::fromStdString(f.dir.path()));
    SettingsDialog::setRunHandler([&](SettingsDialog& d) {
        auto* spin = d.findChild<QSpinBox*>("spnmastery");
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(spin->minimum(), 0);
        EXPECT_EQ(spin->maximum(), 9);
        EXPECT_EQ(spin->value(), 0);
        auto* group = qobject_cast<QGroupBox*>(spin->parentWidget());
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QStringLiteral("错题复习"));
        EXPECT_EQ(spin->accessibleName(), QString::fromUtf8(MasterySetting::kLabel));
        // Every group lies inside the dialog, none over another.
        const auto groups = d.findChildren<QGroupBox*>();
        for (QGroupBox* a : groups) {
            EXPECT_TRUE(d.rect().contains(a->geometry())) << a->title().toStdString();
            for (QGroupBox* b : groups) {
                if (a != b) {
                    EXPECT_FALSE(a->geometry().intersects(b->geometry())) << a->title().toStdString();
                }
            }
        }
        spin->setValue(3);
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    w.SETClick();
    EXPECT_EQ(MasterySetting::of(*w.trainer().s.state), 3);
}
