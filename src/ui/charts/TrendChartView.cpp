#include "ui/charts/TrendChartView.h"

#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace cxb {
namespace {

const QColor kPassedColor(0x2e, 0x7d, 0x32);
const QColor kMissedColor(0xc6, 0x28, 0x28);
const QColor kScoreLine(0x90, 0xa4, 0xae);
const QColor kAverageColor(0xef, 0x6c, 0x00);
const QColor kPassLine(0x37, 0x47, 0x4f);
const QColor kChanceColor(0x15, 0x65, 0xc0);

// A tick step of 1, 2 or 5 times a power of ten giving at most ten ticks.
double tickStep(int papers) {
    for (double step = 1;; step *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (papers / (step * m) <= 10) return step * m;
}

QScatterSeries* markers(const QString& name, const QColor& color, qreal size) {
    auto* s = new QScatterSeries;
    s->setName(name);
    s->setColor(color);
    s->setBorderColor(color.darker(130));
    s->setMarkerSize(size);
    return s;
}

} // namespace

TrendChartView::TrendChartView(const ScoreTrend& trend, QWidget* parent) : QDialog(parent), trend_(trend) {
    setObjectName("TrendChartView");
    setWindowTitle(QStringLiteral("成绩走势"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    resize(760, 500);

    auto* layout = new QVBoxLayout(this);
    auto* readiness = new QLabel(QString::fromStdString(trend_.readiness), this);
    readiness->setObjectName("lblReadiness");
    QFont big = readiness->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    big.setBold(true);
    readiness->setFont(big);
    readiness->setWordWrap(true);
    auto* average = new QLabel(QString::fromStdString(trend_.averageText), this);
    average->setObjectName("lblAverage");
    layout->addWidget(readiness);
    layout->addWidget(average);

    pages_ = new QStackedWidget(this);
    chartView_ = new QChartView(pages_);
    chartView_->setObjectName("trendChart");
    chartView_->setRenderHint(QPainter::Antialiasing);
    empty_ = new QLabel(QString::fromUtf8(ProgressStats::kNoPapers), pages_);
    empty_->setObjectName("lblEmpty");
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    empty_->setFont(big);
    pages_->addWidget(chartView_);
    pages_->addWidget(empty_);
    layout->addWidget(pages_, 1);

    if (trend_.empty()) {
        readiness->hide();
        average->hide();
        pages_->setCurrentWidget(empty_);
    } else {
        buildChart();
        pages_->setCurrentWidget(chartView_);
    }
}

bool TrendChartView::showsEmptyState() const { return pages_->currentWidget() == empty_; }

void TrendChartView::buildChart() {
    const int n = static_cast<int>(trend_.papers.size());
    const qreal size = n > 100 ? 5 : (n > 30 ? 7 : 10);
    const QString pass = QStringLiteral("%1 分").arg(ProgressStats::kPassPercent);

    auto* line = new QLineSeries;
    line->setPen(QPen(kScoreLine, 1.5));
    auto* passed = markers(QStringLiteral("达到 ") + pass, kPassedColor, size);
    auto* missed = markers(QStringLiteral("未到 ") + pass, kMissedColor, size);
    auto* average = new QLineSeries;
    average->setName(QStringLiteral("最近 %1 次平均").arg(ProgressStats::kAverageOver));
    average->setPen(QPen(kAverageColor, 2.5));
    auto* passLine = new QLineSeries;
    passLine->setName(QStringLiteral("及格线 ") + pass);
    passLine->setPen(QPen(kPassLine, 1.5, Qt::DashLine));

    auto* chance = new QLineSeries;
    chance->setObjectName("passChanceLine");
    chance->setName(QStringLiteral("交卷时通过的可能"));
    chance->setPen(QPen(kChanceColor, 2.0, Qt::DotLine));
    chance->setPointsVisible(true);

    QList<QPointF> scores, averages, up, down, chances;
    for (const PaperPoint& p : trend_.papers) {
        if (p.passChance >= 0) chances.append(QPointF(p.order, p.passChance));
        const QPointF at(p.order, p.percent);
        scores.append(at);
        (p.passed ? up : down).append(at);
        averages.append(QPointF(p.order, p.recentAverage));
    }
    line->replace(scores);
    passed->replace(up);
    missed->replace(down);
    average->replace(averages);
    chance->replace(chances);
    passLine->append(0.5, ProgressStats::kPassPercent);
    passLine->append(n + 0.5, ProgressStats::kPassPercent);

    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{passLine, line, average, missed, passed})
        chart->addSeries(s);

    auto* x = new QValueAxis;
    x->setRange(0.5, n + 0.5);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(tickStep(n));
    x->setLabelFormat("%.0f");
    x->setTitleText(QStringLiteral("第几次考试（从旧到新）"));
    auto* y = new QValueAxis;
    y->setRange(0, 100);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(10);
    y->setLabelFormat("%.0f");
    y->setTitleText(QStringLiteral("得分（满分 100）"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    // The chance to pass on an axis of its own, beside the scores; papers
    // from before the journal have no point.
    if (!chances.isEmpty()) {
        auto* percent = new QValueAxis;
        percent->setObjectName("passChanceAxis");
        percent->setRange(0, 100);
        percent->setTickType(QValueAxis::TicksDynamic);
        percent->setTickAnchor(0);
        percent->setTickInterval(10);
        percent->setLabelFormat("%.0f %%");
        percent->setTitleText(QStringLiteral("通过的可能"));
        chart->addSeries(chance);
        chart->addAxis(percent, Qt::AlignRight);
        chance->attachAxis(x);
        chance->attachAxis(percent);
    } else {
        delete chance;
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    // The plain line only joins the marks; it needs no entry of its own.
    for (QLegendMarker* m : chart->legend()->markers(line)) m->setVisible(false);
    chartView_->setChart(chart);

    for (QScatterSeries* s : {passed, missed})
        connect(s, &QScatterSeries::hovered, this, &TrendChartView::hover);
}

QString TrendChartView::tipAt(const QPointF& point) const {
    const long order = std::lround(point.x());
    if (order < 1 || order > static_cast<long>(trend_.papers.size())) return {};
    return QString::fromStdString(trend_.papers[static_cast<std::size_t>(order - 1)].tip);
}

void TrendChartView::hover(const QPointF& point, bool entered) {
    if (entered)
        QToolTip::showText(QCursor::pos(), tipAt(point), chartView_);
    else
        QToolTip::hideText();
}

} // namespace cxb
