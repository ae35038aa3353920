#include "ui/PickerWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <algorithm>

#include "engine/Session.h"
#include "ui/ColorMap.h"

namespace cxb {

namespace {
QColor colour(std::uint32_t bgr, const QPalette& palette) {
    return bgr == PickerCanvas::kButtonFace ? palette.color(QPalette::Button) : toQColor(bgr);
}
} // namespace

PickerWidget::PickerWidget(Session& session, QWidget* parent) : QWidget(parent), s_(session) {
    setObjectName("mage1");
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    updateSize();
}

void PickerWidget::updateSize() {
    int cells = std::max(s_.picker.paintedCells(), s_.listCount);
    setFixedSize(PickerCanvas::kWidth, PickerCanvas::pictureHeight(cells));
}

void PickerWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(event->rect(), pal.color(QPalette::Button));
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);
    const int w = PickerCanvas::kCellWidth, h = PickerCanvas::kCellHeight;
    const int firstRow = std::max(0, event->rect().top() / h);
    const int lastRow = event->rect().bottom() / h;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = 0; col < PickerCanvas::kPerRow; ++col) {
            int k = row * PickerCanvas::kPerRow + col + 1;
            if (k > 1999) break;
            if (s_.picker.style(k) == PickerCanvas::kBlank) continue;
            const ListEntry* entry = k <= s_.listCount ? &s_.list[static_cast<std::size_t>(k)] : nullptr;
            CellLook look = s_.picker.look(k, entry, s_.displayMode);
            QRect cell(col * w, row * h, w, h);
            if (look.blue) p.fillRect(cell, toQColor(PickerCanvas::kBlue));
            if (look.stateRect) {
                p.setPen(toQColor(look.stateOutline));
                p.setBrush(toQColor(look.stateFill));
                p.drawRect(cell.adjusted(0, 0, -1, -1));
            }
            if (look.styleRect) {
                p.setPen(toQColor(look.rectOutline));
                p.setBrush(colour(look.rectFill, pal));
                p.drawRect(cell.adjusted(0, 0, -1, -1));
            }
            QString number = QString::number(k);
            QRect text = p.fontMetrics().boundingRect(number);
            QRect box(cell.left() + 5, cell.top() + 5, text.width() + 2, p.fontMetrics().height());
            p.fillRect(box, colour(look.numberBack, pal));
            p.setPen(toQColor(look.number));
            p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, number);
        }
    }
    p.setPen(Qt::black);
    for (int y = 0; y <= height(); y += h) p.drawLine(0, y, width(), y);
    for (int x = 0; x <= PickerCanvas::kPerRow * w; x += w) p.drawLine(x, 0, x, height());
}

void PickerWidget::mouseMoveEvent(QMouseEvent* event) {
    QPoint pos = event->position().toPoint();
    emit hovered(pos.x(), pos.y());
}

void PickerWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
}

} // namespace cxb
