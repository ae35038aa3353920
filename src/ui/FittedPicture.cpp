#include "ui/FittedPicture.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace cxb {

namespace {

// The picture at its own size; Esc (as in any dialog) or a click closes it.
class FullSizeView : public QDialog {
public:
    FullSizeView(const QPixmap& picture, QWidget* parent) : QDialog(parent) {
        setObjectName("fullSizePicture");
        setWindowTitle(QStringLiteral("原图"));
        setAttribute(Qt::WA_DeleteOnClose);
        auto* label = new QLabel;
        label->setPixmap(picture);
        label->setAlignment(Qt::AlignCenter);
        auto* area = new QScrollArea(this);
        area->setWidget(label);
        area->setAlignment(Qt::AlignCenter);
        area->setFrameShape(QFrame::NoFrame);
        area->viewport()->installEventFilter(this);
        label->installEventFilter(this);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(area);
        // As large as the picture, as far as the screen allows.
        QSize want = picture.deviceIndependentSize().toSize() + QSize(4, 4);
        if (QScreen* s = QGuiApplication::primaryScreen()) want = want.boundedTo(s->availableSize() * 9 / 10);
        resize(want);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            close();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    void mouseReleaseEvent(QMouseEvent*) override { close(); }
};

} // namespace

FittedPicture::FittedPicture(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignCenter); }

void FittedPicture::setPicture(const QPixmap& picture) {
    picture_ = picture;
    fit();
}

void FittedPicture::clearPicture() {
    picture_ = QPixmap();
    clear();
    unsetCursor();
}

bool FittedPicture::isScaled() const {
    if (picture_.isNull()) return false;
    const QSize own = picture_.deviceIndependentSize().toSize();
    return own.width() > width() || own.height() > height();
}

void FittedPicture::fit() {
    if (picture_.isNull()) {
        clear();
        return;
    }
    if (isScaled()) {
        const qreal ratio = devicePixelRatioF();
        QPixmap scaled = picture_.scaled(size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        setPixmap(scaled);
        setCursor(Qt::PointingHandCursor);
    } else {
        setPixmap(picture_);
        unsetCursor();
    }
}

void FittedPicture::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void FittedPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isScaled()) {
        auto* view = new FullSizeView(picture_, window());
        view_ = view;
        connect(view, &QObject::destroyed, this, [this] { view_ = nullptr; });
        view->show();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace cxb
