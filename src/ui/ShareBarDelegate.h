#pragma once
#include <QStyledItemDelegate>

namespace cxb {

// Draws a list column that holds a share as "37%" as a bar filled that
// far, with the text on it. The item keeps its text, so a screen reader
// and a copy read the figure.
class ShareBarDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The percent a cell's text holds, 0..100 (0 for any other text).
    static int percentOf(const QString& text);
};

} // namespace cxb
