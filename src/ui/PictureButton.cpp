#include "ui/PictureButton.h"

#include <QMouseEvent>

#include "ui/ImageFiles.h"

namespace cxb {

PictureButton::PictureButton(const QString& name, QWidget* parent, QSize size) : QLabel(parent) {
    setObjectName(name);
    setFixedSize(size);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
}

bool PictureButton::loadPicture(const QString& nativePath) {
    if (nativePath == file_) return true;
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap = ImageFiles::load(nativePath, ratio);
    if (pixmap.isNull()) return false;
    file_ = nativePath;
    setPixmap(ImageFiles::fitted(pixmap, size(), ratio));
    return true;
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    emit moved();
    QLabel::mouseMoveEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    emit left();
    QLabel::leaveEvent(event);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        down_ = true;
        emit pressed();
    }
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && down_) {
        down_ = false;
        if (rect().contains(event->position().toPoint())) emit clicked();
    }
}

} // namespace cxb
