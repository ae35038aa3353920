#include "ui/ShareBarDelegate.h"

#include <QApplication>
#include <algorithm>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>

namespace cxb {

int ShareBarDelegate::percentOf(const QString& text) {
    QString digits = text.trimmed();
    if (!digits.endsWith(QLatin1Char('%'))) return 0;
    digits.chop(1);
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? std::clamp(value, 0, 100) : 0;
}

void ShareBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    // The row's selection and focus are drawn first, without the text.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = cell.text;
    cell.text.clear();
    QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

    QStyleOptionProgressBar bar;
    bar.rect = option.rect.adjusted(3, 3, -3, -3);
    bar.minimum = 0;
    bar.maximum = 100;
    bar.progress = percentOf(text);
    bar.text = text;
    bar.textVisible = true;
    bar.textAlignment = Qt::AlignCenter;
    bar.state = option.state | QStyle::State_Horizontal;
    bar.palette = option.palette;
    bar.fontMetrics = option.fontMetrics;
    style->drawControl(QStyle::CE_ProgressBar, &bar, painter, cell.widget);
}

} // namespace cxb
