// The score trend and the bank progress: opened from the history dialog
// through the chart module, and drawn from the engine's figures.
#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalPercentBarSeries>
#include <QLabel>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <algorithm>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/ProgressStats.h"
#include "support/TempDir.h"
#include "ui/ChartWindows.h"
#include "ui/Dialogs.h"
#include "ui/HistoryDialog.h"
#include "ui/MainWindow.h"
#include "ui/charts/ProgressView.h"
#include "ui/charts/TrendChartView.h"

using namespace cxb;

namespace {

// A runnable folder with the car bank's tag and `papers` recorded: scores
// of 100-question papers, every other one of the bus bank in between.
struct ChartFolder {
    test::TempDir dir;
    explicit ChartFolder(const std::vector<int>& papers) {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(30, 5);
        for (int i = 1; i <= 30; ++i) bank.records[static_cast<std::size_t>(i)].picture[0] = '\0';
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/x.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\x.tk");
        int slot = 0;
        for (int score : papers) {
            for (const char* tag : {"TKxiaoche", "TKkeche"}) {
                HistoryEntry& e = state->history[++slot];
                writeField(e.takenAt, "2024");
                writeField(e.bankTag, tag);
                e.score = score;
                e.itemCount = 100;
            }
        }
        state->historyCount = slot;
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString folder() const { return QString::fromStdString(dir.path()); }
};

struct Seams {
    std::vector<QString> messages;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
        ChartWindows::setModuleFolder(QStringLiteral(CXB_APP_DIR));
    }
    ~Seams() {
        Dialogs::setMessageHandler({});
        HistoryDialog::setShowHandler({});
        ChartWindows::setShowHandler({});
        ChartWindows::setModuleFolder({});
    }
};

void click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
}

QString label(QWidget& w, const char* name) {
    auto* l = w.findChild<QLabel*>(name);
    return l && l->isVisibleTo(&w) ? l->text() : QString();
}

QList<QPointF> pointsOf(QChart* chart, const QString& name) {
    for (QAbstractSeries* s : chart->series())
        if (s->name() == name) return static_cast<QXYSeries*>(s)->points();
    ADD_FAILURE() << "no series " << name.toStdString();
    return {};
}

// Counts of the progress table, row by row: 题数, 从未答过, 答过从未错, 曾经答错.
std::vector<int> tableRow(QTableWidget* t, int row) {
    std::vector<int> v;
    for (int c = 1; c <= 4; ++c) v.push_back(t->item(row, c)->text().toInt());
    return v;
}

} // namespace

TEST(ProgressViews, BothOpenFromTheHistoryWithTheLoadedBanksFigures) {
    ChartFolder f({70, 95, 100});
    Seams seams;
    MainWindow w(f.folder());
    w.show();
    Session& s = w.trainer().s;

    std::vector<QString> titles;
    std::vector<int> progressCounts;
    ChartWindows::setShowHandler([&](QDialog& view) {
        view.show();
        titles.push_back(view.windowTitle());
        if (view.windowTitle() == QStringLiteral("成绩走势")) {
            auto* chartView = view.findChild<QChartView*>("trendChart");
            ASSERT_NE(chartView, nullptr);
            EXPECT_TRUE(chartView->isVisible());
            QChart* chart = chartView->chart();
            ASSERT_NE(chart, nullptr);
            // Only the three car papers, in order, split by the pass line.
            EXPECT_EQ(pointsOf(chart, QStringLiteral("达到 90 分")), (QList<QPointF>{{2, 95}, {3, 100}}));
            EXPECT_EQ(pointsOf(chart, QStringLiteral("未到 90 分")), (QList<QPointF>{{1, 70}}));
            EXPECT_EQ(pointsOf(chart, QStringLiteral("及格线 90 分")), (QList<QPointF>{{0.5, 90}, {3.5, 90}}));
            QList<QPointF> average = pointsOf(chart, QStringLiteral("最近 5 次平均"));
            ASSERT_EQ(average.size(), 3);
            EXPECT_DOUBLE_EQ(average[2].y(), (70 + 95 + 100) / 3.0);
            EXPECT_EQ(label(view, "lblReadiness"), QStringLiteral("最近 3 次中有 2 次达到 90 分，再多考几次才看得出是否稳定。"));
            EXPECT_EQ(label(view, "lblAverage"), QStringLiteral("最近 3 次平均 88.3 分"));
        } else {
            auto* table = view.findChild<QTableWidget*>("progressTable");
            ASSERT_NE(table, nullptr);
            ASSERT_EQ(table->rowCount(), 4);
            EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("全部"));
            for (int c : tableRow(table, 0)) progressCounts.push_back(c);
            progressCounts.push_back(-1);
            auto* chartView = view.findChild<QChartView*>("progressChart");
            ASSERT_NE(chartView, nullptr);
            ASSERT_EQ(chartView->chart()->series().size(), 1);
            auto* bars = static_cast<QHorizontalPercentBarSeries*>(chartView->chart()->series().front());
            ASSERT_EQ(bars->count(), 3);
            EXPECT_EQ(bars->barSets()[0]->label(), QStringLiteral("从未答过"));
            // The whole bank is the top bar, the last in drawing order.
            EXPECT_EQ(bars->barSets()[0]->at(3), table->item(0, 2)->text().toInt());
        }
        view.hide();
    });
    HistoryDialog::setShowHandler([&](HistoryDialog& d) {
        d.show();
        auto* trend = d.findChild<QPushButton*>("btntrend");
        ASSERT_NE(trend, nullptr);
        EXPECT_EQ(trend->text(), QStringLiteral("成绩走势"));
        EXPECT_TRUE(trend->isVisible());
        click(trend);
        click(d.findChild<QPushButton*>("btnprogress"));
        // An answer given in the meantime shows at the next opening.
        ListEntry* e = s.shown();
        ASSERT_NE(e, nullptr);
        w.trainer().judge.answerQuestion(e->answer == kAnswerA ? kAnswerB : kAnswerA);
        click(d.findChild<QPushButton*>("btnprogress"));
        d.hide();
    });
    w.btn6Click();
    EXPECT_EQ(titles, (std::vector<QString>{QStringLiteral("成绩走势"), QStringLiteral("学习进度"), QStringLiteral("学习进度")}));
    // 30 questions, none answered; then one of them wrong.
    EXPECT_EQ(progressCounts, (std::vector<int>{30, 30, 0, 0, -1, 30, 29, 0, 1, -1}));
    EXPECT_EQ(std::count(seams.messages.begin(), seams.messages.end(), QString::fromUtf8(ChartWindows::kNoModule)), 0);
}

TEST(ProgressViews, WithoutTheModuleAMessage) {
    Seams seams;
    ChartWindows::setModuleFolder(QStringLiteral("/nonexistent"));
    bool shown = false;
    ChartWindows::setShowHandler([&](QDialog&) { shown = true; });
    ChartWindows::showTrend(nullptr, ScoreTrend{});
    ChartWindows::showProgress(nullptr, BankProgress{});
    EXPECT_FALSE(shown);
    EXPECT_EQ(seams.messages, (std::vector<QString>(2, QString::fromUtf8(ChartWindows::kNoModule))));
}

TEST(TrendChart, NoPaperShowsWordsInsteadOfAnEmptyAxis) {
    TrendChartView view(ProgressStats::scoreTrend(*StateFile::newRecord()));
    view.show();
    EXPECT_TRUE(view.showsEmptyState());
    EXPECT_FALSE(view.chartView()->isVisible());
    EXPECT_EQ(label(view, "lblEmpty"), QString::fromUtf8(ProgressStats::kNoPapers));
    EXPECT_EQ(label(view, "lblReadiness"), QString());
    EXPECT_EQ(view.chartView()->chart()->series().size(), 0);
}

TEST(TrendChart, HoveringAPaperShowsItsDateScoreAndSize) {
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    const int scores[] = {40, 92, 47};
    const int sizes[] = {100, 100, 50};
    for (int i = 0; i < 3; ++i) {
        HistoryEntry& e = state->history[i + 1];
        writeField(e.takenAt, "2024");
        writeField(e.bankTag, "TKxiaoche");
        e.score = scores[i];
        e.itemCount = sizes[i];
    }
    state->historyCount = 3;
    ScoreTrend trend = ProgressStats::scoreTrend(*state);
    TrendChartView view(trend);
    view.resize(700, 480);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_FALSE(view.showsEmptyState());
    EXPECT_EQ(view.tipAt({2.1, 92}), QString::fromStdString(trend.papers[1].tip));
    EXPECT_EQ(view.tipAt({0.4, 50}), QString());
    EXPECT_EQ(view.tipAt({3.6, 50}), QString());

    // The mouse over the third paper's mark.
    QChartView* chartView = view.chartView();
    QChart* chart = chartView->chart();
    QScatterSeries* passed = nullptr;
    for (QAbstractSeries* s : chart->series())
        if (s->name() == QStringLiteral("达到 90 分")) passed = static_cast<QScatterSeries*>(s);
    ASSERT_NE(passed, nullptr);
    const QPoint at = chartView->mapFromScene(chart->mapToScene(chart->mapToPosition({3, 94}, passed)));
    QTest::mouseMove(chartView->viewport(), at);
    QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 2000);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("第 3 次  2024\n答对 47 题，共 50 题：94 分"));
    QToolTip::hideText();
}

TEST(ProgressChart, BarsPerTypeWithTheirAccuracy) {
    BankProgress p;
    p.total = {"全部", 10, 5, 3, 2, 7, 9, 100.0 * 7 / 9, "77.8%（7/9）", "77.8%"};
    p.byType = {{"判断题", 4, 2, 2, 0, 3, 3, 100, "100%（3/3）", "100%"},
                {"单选题", 6, 3, 1, 2, 4, 6, 100.0 * 4 / 6, "66.7%（4/6）", "66.7%"},
                {"多选题", 0, 0, 0, 0, 0, 0, 0, "还没有作答", "—"}};
    ProgressView view(p);
    view.show();
    QTableWidget* t = view.table();
    ASSERT_EQ(t->rowCount(), 4);
    EXPECT_EQ(tableRow(t, 0), (std::vector<int>{10, 5, 3, 2}));
    EXPECT_EQ(tableRow(t, 2), (std::vector<int>{6, 3, 1, 2}));
    EXPECT_EQ(t->item(2, 5)->text(), QStringLiteral("66.7%（4/6）"));
    EXPECT_EQ(t->item(3, 5)->text(), QStringLiteral("还没有作答"));
    EXPECT_EQ(ProgressView::caption(p.byType[1]), QStringLiteral("单选题（正确率 66.7%）"));
    EXPECT_EQ(ProgressView::caption(p.byType[2]), QStringLiteral("多选题（正确率 —）"));
    auto* bars = static_cast<QHorizontalPercentBarSeries*>(view.chartView()->chart()->series().front());
    // Drawn bottom up: 多选题, 单选题, 判断题, 全部.
    EXPECT_EQ(bars->barSets()[2]->at(1), 2); // 单选题 ever wrong
    EXPECT_EQ(bars->barSets()[1]->at(2), 2); // 判断题 never wrong
}

TEST(ProgressChart, SmallSharesLeaveOutTheirLabelsRatherThanOverlap) {
    // A bank of 1,000 with 1 never answered and 2 ever wrong: the two small
    // segments are thin slivers beside the large one.
    BankProgress p;
    p.total = {"全部", 1000, 1, 997, 2, 997, 999, 99.8, "99.8%（997/999）", "99.8%"};
    p.byType = {{"判断题", 300, 100, 100, 100, 100, 200, 50, "50%（100/200）", "50%"},
                {"单选题", 700, 0, 699, 1, 699, 700, 99.9, "99.9%（699/700）", "99.9%"},
                {"多选题", 0, 0, 0, 0, 0, 0, 0, "还没有作答", "—"}};
    ProgressView view(p);
    for (QSize size : {QSize(720, 540), QSize(360, 300), QSize(1200, 700)}) {
        view.resize(size);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QCoreApplication::processEvents();
        std::vector<QRectF> boxes;
        QStringList texts;
        for (QGraphicsSimpleTextItem* item : view.shareLabels()) {
            boxes.push_back(item->sceneBoundingRect());
            texts << item->text();
        }
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(boxes[i].intersects(boxes[j]))
                    << size.width() << ": " << texts[int(i)].toStdString() << " and " << texts[int(j)].toStdString();
        // Where the bars are long and thick enough the thirds of 判断题 and
        // the large share are labelled; the slivers never are. The small
        // window's bars are too thin for any label.
        if (size.width() >= 720) {
            EXPECT_GE(texts.count(QStringLiteral("33%")), 3) << size.width();
        }
        EXPECT_EQ(texts.count(QStringLiteral("0%")), 0) << size.width();
        if (size.width() >= 720) {
            EXPECT_GE(texts.count(QStringLiteral("100%")), 1) << size.width();
        }
    }
}
