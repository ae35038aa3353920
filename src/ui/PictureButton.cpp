#include "ui/PictureButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "ui/DesignScale.h"
#include "ui/ImageFiles.h"

namespace cxb {

PictureButton::PictureButton(const QString& name, QWidget* parent, QSize size) : QLabel(parent) {
    setObjectName(name);
    setFixedSize(size);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
}

bool PictureButton::loadPicture(const QString& nativePath) {
    if (nativePath == file_) return true;
    // Read at the resolution the button is drawn at: a window drawn larger
    // than designed takes the @2x file on an ordinary screen too.
    QPixmap pixmap = ImageFiles::load(nativePath, DesignScale::pixelRatio(this));
    if (pixmap.isNull()) return false;
    file_ = nativePath;
    source_ = pixmap;
    setPixmap(ImageFiles::fitted(source_, size(), devicePixelRatioF()));
    return true;
}

void PictureButton::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (source_.isNull()) return;
    // A scale that calls for more pixels than the file read has reads the
    // picture again, from its @2x file where there is one.
    const QString file = file_;
    const qreal need = DesignScale::pixelRatio(this);
    if (need > source_.devicePixelRatio() + 1e-9 || (need <= 1.0 && source_.devicePixelRatio() > 1.0)) {
        file_.clear();
        if (loadPicture(file)) return;
        file_ = file;
    }
    setPixmap(ImageFiles::fitted(source_, size(), devicePixelRatioF()));
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    emit moved();
    QLabel::mouseMoveEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    emit left();
    QLabel::leaveEvent(event);
}

// Every mouse button presses the picture (its pressed picture, the answer
// sound); only the left button's click runs the command.
void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) down_ = true;
    emit pressed();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && down_) {
        down_ = false;
        if (rect().contains(event->position().toPoint())) emit clicked();
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && event->modifiers() == Qt::NoModifier) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void PictureButton::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // The focus frame: the style's own, and a two-pixel line in the
    // highlight colour that shows on any picture.
    QPainter p(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(1, 1, -1, -1);
    frame.backgroundColor = palette().window().color();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &p, this);
    QPen pen(palette().highlight().color(), 2, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
}

void PictureButton::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    update();
}

void PictureButton::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    update();
}

} // namespace cxb
