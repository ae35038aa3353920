// 曾经全部错题 in the real window offscreen, with and without a mastery:
// the streak column ("1/3") beside the counters, a question leaving the
// review once answered right that many times in a row, and the review as it
// always was when the setting is 0.
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <map>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/MasterySetting.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;

namespace {

constexpr int kStreakColumn = 6;

// Twelve single-choice questions, answer A (so B is wrong), and a state
// file with the given mastery.
struct MasteryFolder {
    test::TempDir dir;
    explicit MasteryFolder(int mastery) {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(12, 17);
        for (int i = 1; i <= 12; ++i) {
            QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
            r.type = kSingleChoice;
            r.answer = kAnswerA;
            r.rightCount = r.wrongCount = r.answerCount = 0;
            writeField(r.picture, "");
        }
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/b.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        MasterySetting::store(*state, mastery);
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
};

struct QuietMessages {
    QuietMessages() { Dialogs::setMessageHandler([](const QString&) {}); }
    ~QuietMessages() { Dialogs::setMessageHandler({}); }
};

class ReviewWindow {
public:
    explicit ReviewWindow(const MasteryFolder& f) : w_(QString::fromStdString(f.dir.path())) {
        w_.show();
        w_.trainer().nav.setAutoNext(false);
    }

    // A fresh sequential list, the first entries answered by click: true A
    // (right), false B (wrong); the ids they showed.
    std::vector<int> answerRound(const std::vector<bool>& right) {
        QTest::mouseClick(w_.findChild<PictureButton*>("ima_sunxu"), Qt::LeftButton);
        Session& s = w_.trainer().s;
        std::vector<int> ids;
        for (bool r : right) {
            ids.push_back(s.shown()->id);
            QTest::mouseClick(w_.findChild<PictureButton*>(r ? "Image1" : "Image3"), Qt::LeftButton);
            QTest::mouseClick(w_.findChild<QPushButton*>("DO"), Qt::LeftButton);
        }
        return ids;
    }

    // 曾经全部错题 as lv1 lists it: id → the streak cell (empty when the
    // column has no cell for the row).
    std::map<int, QString> everWrongRows() {
        QTest::mouseClick(w_.findChild<PictureButton*>("Ima_cuowuji"), Qt::LeftButton);
        QTest::mouseClick(w_.findChild<QPushButton*>("btnQuanBu"), Qt::LeftButton);
        std::map<int, QString> rows;
        for (int r = 0; r < list()->topLevelItemCount(); ++r) {
            QTreeWidgetItem* item = list()->topLevelItem(r);
            rows[item->text(0).toInt()] = item->text(kStreakColumn);
        }
        return rows;
    }

    QTreeWidget* list() { return w_.findChild<QTreeWidget*>("lv1"); }

private:
    MainWindow w_;
};

} // namespace

TEST(MasteryReviewWindow, TheStreakColumnCountsTowardsTheMasteryAndAMasteredQuestionLeaves) {
    QuietMessages quiet;
    MasteryFolder f(3);
    ReviewWindow w(f);
    // The first three wrong; then the first two right, then the first right again.
    const std::vector<int> ids = w.answerRound({false, false, false});
    w.answerRound({true, true});
    w.answerRound({true});

    auto rows = w.everWrongRows();
    EXPECT_EQ(rows, (std::map<int, QString>{{ids[0], "2/3"}, {ids[1], "1/3"}, {ids[2], "0/3"}}));
    EXPECT_FALSE(w.list()->isColumnHidden(kStreakColumn));
    EXPECT_EQ(w.list()->headerItem()->text(kStreakColumn), QStringLiteral("连续答对"));

    // A third right answer in a row takes the first out; a wrong answer puts
    // the second back to the start.
    w.answerRound({true, false});
    rows = w.everWrongRows();
    EXPECT_EQ(rows, (std::map<int, QString>{{ids[1], "0/3"}, {ids[2], "0/3"}}));
}

TEST(MasteryReviewWindow, WithoutAMasteryTheReviewKeepsEveryEverWrongQuestionAndNoStreakColumn) {
    QuietMessages quiet;
    MasteryFolder f(0);
    ReviewWindow w(f);
    const std::vector<int> ids = w.answerRound({false, false});
    for (int round = 0; round < 4; ++round) w.answerRound({true, true});

    const auto rows = w.everWrongRows();
    EXPECT_EQ(rows, (std::map<int, QString>{{ids[0], ""}, {ids[1], ""}}));
    EXPECT_TRUE(w.list()->isColumnHidden(kStreakColumn));
}
