#pragma once
#include <QDialog>

#include "engine/ProgressStats.h"

class QAbstractBarSeries;
class QChartView;
class QGraphicsSimpleTextItem;
class QTableWidget;

namespace cxb {

// "学习进度": the loaded bank at a glance. A bar for the whole bank and one
// for each question type shows how many questions were never answered,
// answered and never wrong, or ever wrong; the table beside gives the counts
// and the share of right answers.
class ProgressView : public QDialog {
    Q_OBJECT
public:
    explicit ProgressView(const BankProgress& progress, QWidget* parent = nullptr);

    QChartView* chartView() const { return chartView_; }
    // The percentage labels on show, over the bars.
    const std::vector<QGraphicsSimpleTextItem*>& shareLabels() const { return shareLabels_; }
    QTableWidget* table() const { return table_; }

    // The bar's caption of a group: its name and its share of right answers.
    static QString caption(const ProgressGroup& g);

private:
    void buildChart(const std::vector<const ProgressGroup*>& groups);
    void fillTable(const std::vector<const ProgressGroup*>& groups);
    // Puts the percentage labels over the bars as the plot area is now.
    void placeLabels();

    QChartView* chartView_;
    QTableWidget* table_;
    QAbstractBarSeries* series_ = nullptr;
    std::vector<ProgressGroup> groups_; // whole bank first
    std::vector<QGraphicsSimpleTextItem*> shareLabels_;
};

} // namespace cxb
