#include "ui/charts/ProgressView.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QHorizontalPercentBarSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>
#include <QGraphicsSimpleTextItem>
#include <QFontMetricsF>

#include "engine/ShareLabels.h"

namespace cxb {
namespace {

struct Part {
    const char* name;
    int ProgressGroup::*count;
    QColor color;
};
const Part kParts[] = {
    {"从未答过", &ProgressGroup::neverAnswered, QColor(0xb0, 0xbe, 0xc5)},
    {"答过从未错", &ProgressGroup::neverWrong, QColor(0x43, 0xa0, 0x47)},
    {"曾经答错", &ProgressGroup::everWrong, QColor(0xe5, 0x39, 0x35)},
};

constexpr double kBarWidth = 0.6; // of each category's band

} // namespace

QString ProgressView::caption(const ProgressGroup& g) {
    return QString::fromStdString(g.name) + QStringLiteral("（正确率 ") + QString::fromStdString(g.accuracyShort) +
           QStringLiteral("）");
}

ProgressView::ProgressView(const BankProgress& progress, QWidget* parent) : QDialog(parent) {
    setObjectName("ProgressView");
    setWindowTitle(QStringLiteral("学习进度"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    resize(720, 540);

    std::vector<const ProgressGroup*> groups{&progress.total};
    for (const ProgressGroup& g : progress.byType) groups.push_back(&g);

    auto* layout = new QVBoxLayout(this);
    // 智能复习's outlook over the bars: what falls due, the chance to pass.
    const ReviewOutlook& o = progress.outlook;
    const std::pair<const char*, const std::string*> lines[] = {
        {"lblPassChance", &o.pass}, {"lblPassReason", &o.reason}, {"lblDueToday", &o.due}, {"lblDueWeek", &o.week}};
    for (const auto& [name, text] : lines) {
        if (text->empty()) continue;
        auto* l = new QLabel(QString::fromStdString(*text), this);
        l->setObjectName(name);
        l->setWordWrap(true);
        if (text == &o.pass) {
            QFont big = l->font();
            big.setPointSizeF(big.pointSizeF() * 1.25);
            big.setBold(true);
            l->setFont(big);
        }
        layout->addWidget(l);
    }
    chartView_ = new QChartView(this);
    chartView_->setObjectName("progressChart");
    chartView_->setRenderHint(QPainter::Antialiasing);
    table_ = new QTableWidget(this);
    table_->setObjectName("progressTable");
    layout->addWidget(chartView_, 1);
    layout->addWidget(table_);
    buildChart(groups);
    fillTable(groups);
}

ProgressView::~ProgressView() {
    // The chart goes with the view's children, after this view's members:
    // it must not ask for labels then.
    if (QChart* chart = chartView_->chart()) disconnect(chart, nullptr, this, nullptr);
}

void ProgressView::buildChart(const std::vector<const ProgressGroup*>& groups) {
    auto* series = new QHorizontalPercentBarSeries;
    for (const Part& part : kParts) {
        auto* set = new QBarSet(QString::fromUtf8(part.name));
        set->setColor(part.color);
        set->setBorderColor(part.color);
        set->setLabelColor(Qt::black);
        // Bars are drawn from the bottom up: the whole bank goes on top.
        for (auto g = groups.rbegin(); g != groups.rend(); ++g) set->append((*g)->*part.count);
        series->append(set);
    }
    // The shares are labelled by placeLabels(), which leaves out a label
    // its segment cannot hold instead of letting it cover its neighbours.
    series->setLabelsVisible(false);
    series->setBarWidth(kBarWidth);
    series_ = series;
    groups_.clear();
    for (const ProgressGroup* g : groups) groups_.push_back(*g); // the caller's may go

    QStringList captions;
    for (auto g = groups.rbegin(); g != groups.rend(); ++g) captions << caption(**g);

    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("本题库共 %1 题").arg(groups.front()->questions));
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(captions);
    auto* share = new QValueAxis;
    share->setRange(0, 100);
    share->setLabelFormat("%.0f%%");
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(share, Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(share);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chartView_->setChart(chart);
    connect(chart, &QChart::plotAreaChanged, this, [this] { placeLabels(); });
    placeLabels();
}

void ProgressView::placeLabels() {
    QChart* chart = chartView_->chart();
    if (!chart || !series_) return;
    for (QGraphicsSimpleTextItem* item : shareLabels_) delete item;
    shareLabels_.clear();
    const QFontMetricsF metrics(chart->font());
    const int bars = static_cast<int>(groups_.size());
    for (int bar = 0; bar < bars; ++bar) {
        // Bars are drawn from the bottom up: category 0 is the last group.
        const ProgressGroup& g = groups_[static_cast<std::size_t>(bars - 1 - bar)];
        std::vector<int> counts;
        for (const Part& part : kParts) counts.push_back(g.*part.count);
        std::vector<double> widths;
        for (const std::string& text : ShareLabels::texts(counts))
            widths.push_back(metrics.horizontalAdvance(QString::fromStdString(text)));
        const QPointF left = chart->mapToPosition(QPointF(0, bar), series_);
        const QPointF right = chart->mapToPosition(QPointF(100, bar), series_);
        const double length = right.x() - left.x();
        if (length <= 0) continue;
        // The bar's thickness: its share of the category's band.
        const double thickness = std::abs(chart->mapToPosition(QPointF(0, bar - kBarWidth / 2), series_).y() -
                                          chart->mapToPosition(QPointF(0, bar + kBarWidth / 2), series_).y());
        for (const ShareLabels::Label& l : ShareLabels::place(counts, widths, length, metrics.height(), thickness)) {
            if (!l.shown) continue;
            auto* item = new QGraphicsSimpleTextItem(QString::fromStdString(l.text), chart);
            item->setFont(chart->font());
            item->setBrush(Qt::black);
            const QRectF box = item->boundingRect();
            item->setPos(left.x() + l.centre - box.width() / 2, left.y() - box.height() / 2);
            item->setZValue(10);
            shareLabels_.push_back(item);
        }
    }
}

void ProgressView::fillTable(const std::vector<const ProgressGroup*>& groups) {
    const QStringList headers{QStringLiteral("题型"),       QStringLiteral("题数"),     QStringLiteral("从未答过"),
                              QStringLiteral("答过从未错"), QStringLiteral("曾经答错"), QStringLiteral("正确率（答对/作答）")};
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setRowCount(static_cast<int>(groups.size()));
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    int row = 0;
    for (const ProgressGroup* g : groups) {
        const QStringList cells{QString::fromStdString(g->name),     QString::number(g->questions),
                                QString::number(g->neverAnswered),   QString::number(g->neverWrong),
                                QString::number(g->everWrong),       QString::fromStdString(g->accuracyText)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            table_->setItem(row, c, item);
        }
        ++row;
    }
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(static_cast<int>(headers.size()) - 1, QHeaderView::ResizeToContents);
    table_->resizeRowsToContents();
    int height = table_->horizontalHeader()->sizeHint().height() + 2 * table_->frameWidth();
    for (int r = 0; r < table_->rowCount(); ++r) height += table_->rowHeight(r);
    table_->setFixedHeight(height);
}

} // namespace cxb
