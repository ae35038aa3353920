#include "ui/PickerWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPen>
#include <algorithm>
#include <cmath>

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
    numberFont_ = font();
    numberFont_.setPixelSize(13);
    updateSize();
}

void PickerWidget::updateSize() {
    int cells = std::max(s_.picker.paintedCells(), s_.listCount);
    setFixedSize(static_cast<int>(std::ceil(PickerCanvas::kWidth * scale_)),
                 static_cast<int>(std::ceil(PickerCanvas::pictureHeight(cells) * scale_)));
}

void PickerWidget::setScale(double scale) {
    scale_ = scale;
    updateSize();
    update();
}

// Numbers are drawn once per colour into strips of slots and then copied,
// which is much cheaper than laying out text for every cell at every paint.
const QImage& PickerWidget::numberStrip(std::uint32_t colour, int k) {
    const auto key = std::make_pair(colour, k / kStripNumbers);
    auto it = strips_.find(key);
    if (it != strips_.end()) return it->second;
    QImage strip(kSlotWidth, slotHeight_ * kStripNumbers, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setFont(numberFont_);
    p.setPen(toQColor(colour));
    for (int slot = 0; slot < kStripNumbers; ++slot) {
        const int n = key.second * kStripNumbers + slot;
        if (n < 1 || n > 1999) continue;
        p.drawText(QRect(1, slot * slotHeight_, kSlotWidth - 1, slotHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(n));
    }
    p.end();
    return strips_.emplace(key, std::move(strip)).first->second;
}

int PickerWidget::numberWidth(int k) {
    int& width = numberWidths_[static_cast<std::size_t>(k)];
    if (width < 0) width = metrics_->horizontalAdvance(QString::number(k));
    return width;
}

void PickerWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (scale_ == 1.0) {
        paintPicker(p, event->rect());
        return;
    }
    // The design's picture, drawn larger or smaller as a whole.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(scale_, scale_);
    const QRectF area(event->rect());
    paintPicker(p, QRectF(area.topLeft() / scale_, area.size() / scale_).toAlignedRect());
}

void PickerWidget::paintPicker(QPainter& p, const QRect& area) {
    const QPalette& pal = palette();
    const int w = PickerCanvas::kCellWidth, h = PickerCanvas::kCellHeight;
    const int gridWidth = PickerCanvas::kPerRow * w;
    // The picture's size in design pixels, whatever the scale it is drawn at.
    const int wide = static_cast<int>(std::ceil(width() / scale_)), high = static_cast<int>(std::ceil(height() / scale_));
    // Each cell is worked out first and the drawing is then done in a few
    // batches, one per colour: every pixel is filled once, and the painter
    // is called a few times instead of thousands.
    // A cell with an outline is filled whole in the outline's colour first
    // (edges) and then inside the outline in its own colour (fills): the
    // same pixels as a 1-pixel frame over the fill, at the cost of fills.
    std::map<std::uint32_t, QVector<QRect>> edges, fills, boxes;
    struct Number { QPoint at; int k; int width; std::uint32_t colour; };
    QVector<Number> numbers;
    constexpr std::uint32_t kFace = PickerCanvas::kButtonFace;
    if (!metrics_) {
        metrics_.emplace(numberFont_);
        slotHeight_ = metrics_->height();
        numberWidths_.assign(2000, -1);
    }
    if (area.right() >= gridWidth) fills[kFace].append(QRect(gridWidth, area.top(), wide - gridWidth, area.height()));
    const int firstRow = std::max(0, area.top() / h);
    const int lastRow = area.bottom() / h;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = 0; col < PickerCanvas::kPerRow; ++col) {
            const int k = row * PickerCanvas::kPerRow + col + 1;
            const QRect cell(col * w, row * h, w, h);
            if (k > 1999 || s_.picker.style(k) == PickerCanvas::kBlank) {
                fills[kFace].append(cell);
                continue;
            }
            const ListEntry* entry = k <= s_.listCount ? &s_.list[static_cast<std::size_t>(k)] : nullptr;
            const CellLook look = s_.picker.look(k, entry, s_.displayMode);
            // A later layer covers the earlier ones: style over state over blue.
            if (look.styleRect) {
                edges[look.rectOutline].append(cell);
                fills[look.rectFill].append(cell.adjusted(1, 1, -1, -1));
            } else if (look.stateRect) {
                edges[look.stateOutline].append(cell);
                fills[look.stateFill].append(cell.adjusted(1, 1, -1, -1));
            } else {
                fills[look.blue ? PickerCanvas::kBlue : kFace].append(cell);
            }
            const int textWidth = numberWidth(k) + 2;
            boxes[look.numberBack].append(QRect(cell.left() + 5, cell.top() + 5, textWidth, slotHeight_));
            numbers.append({QPoint(cell.left() + 5, cell.top() + 5), k, textWidth, look.number});
        }
    }
    p.setPen(Qt::NoPen);
    for (const auto& [c, rects] : edges) {
        p.setBrush(toQColor(c));
        p.drawRects(rects);
    }
    for (const auto& [c, rects] : fills) {
        p.setBrush(colour(c, pal));
        p.drawRects(rects);
    }
    for (const auto& [c, rects] : boxes) {
        p.setBrush(colour(c, pal));
        p.drawRects(rects);
    }
    for (const Number& n : numbers)
        p.drawImage(n.at, numberStrip(n.colour, n.k),
                    QRect(0, n.k % kStripNumbers * slotHeight_, n.width, slotHeight_));
    // The grid: one-pixel lines, filled as rectangles (far cheaper than
    // stroking a line down the whole picture).
    QVector<QRect> grid;
    const int top = area.top(), bottom = area.bottom();
    for (int y = firstRow * h; y <= bottom + h && y <= high; y += h) grid.append(QRect(0, y, wide + 1, 1));
    for (int x = 0; x <= gridWidth; x += w) grid.append(QRect(x, top, 1, bottom - top + 1));
    if (scale_ == 1.0) {
        p.setBrush(Qt::black);
        p.drawRects(grid);
        p.setBrush(Qt::NoBrush);
        return;
    }
    // At another scale a one-pixel rectangle may cover no pixel or two:
    // the lines are drawn one screen pixel wide instead.
    QPen line(Qt::black);
    line.setCosmetic(true);
    line.setWidth(1);
    p.setPen(line);
    for (const QRect& r : grid) {
        const QPointF from(r.left() + 0.5 / scale_, r.top() + 0.5 / scale_);
        p.drawLine(from, r.width() > r.height() ? QPointF(r.right(), from.y()) : QPointF(from.x(), r.bottom()));
    }
    p.setPen(Qt::NoPen);
}

void PickerWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = (event->position() / scale_).toPoint();
    emit hovered(pos.x(), pos.y());
}

void PickerWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
}

} // namespace cxb
