#pragma once
#include <QDialog>
#include <QPointF>

#include "engine/ProgressStats.h"

class QChartView;
class QLabel;
class QStackedWidget;

namespace cxb {

// "成绩走势": the papers of the loaded bank as a chart, oldest to newest,
// with the pass line, the running average of five and the readiness line.
// Without a paper it shows a few friendly words instead of an empty axis.
class TrendChartView : public QDialog {
    Q_OBJECT
public:
    explicit TrendChartView(const ScoreTrend& trend, QWidget* parent = nullptr);

    // The hover text of the paper drawn nearest to `point` (chart values), or
    // an empty string off the papers.
    QString tipAt(const QPointF& point) const;

    QChartView* chartView() const { return chartView_; }
    bool showsEmptyState() const;

private:
    void buildChart();
    void hover(const QPointF& point, bool entered);

    ScoreTrend trend_;
    QStackedWidget* pages_;
    QChartView* chartView_;
    QLabel* empty_;
};

} // namespace cxb
