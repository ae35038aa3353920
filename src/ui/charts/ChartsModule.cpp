// The chart views in a module of their own: the window loads it the first
// time a chart opens, so starting the trainer does not load Qt Charts and
// the OpenGL libraries it brings along.
#include "ui/charts/ProgressView.h"
#include "ui/charts/TrendChartView.h"

extern "C" Q_DECL_EXPORT QDialog* cxbMakeTrendChart(const cxb::ScoreTrend& trend, QWidget* parent) {
    return new cxb::TrendChartView(trend, parent);
}

extern "C" Q_DECL_EXPORT QDialog* cxbMakeProgressView(const cxb::BankProgress& progress, QWidget* parent) {
    return new cxb::ProgressView(progress, parent);
}
