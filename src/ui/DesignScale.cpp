#include "ui/DesignScale.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <cmath>

namespace cxb {

namespace {

const char* const kScaleProperty = "cxbDesignScale";

// Whether the children of `w` were placed by hand, in design pixels.
bool placesItsChildren(const QWidget* w) {
    if (w->layout()) return false;
    return !qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QAbstractSpinBox*>(w) &&
           !qobject_cast<const QComboBox*>(w) && !qobject_cast<const QLineEdit*>(w);
}

int at(int designPos, double scale) { return static_cast<int>(std::lround(designPos * scale)); }

QSize scaledSize(QSize s, double scale) {
    auto one = [scale](int v) { return v >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : at(v, scale); };
    return {one(s.width()), one(s.height())};
}

} // namespace

DesignScale::DesignScale(QWidget& root) : root_(root) { take(&root, false); }

void DesignScale::take(QWidget* w, bool placed) {
    controls_.push_back({w, placed, w->geometry(), w->minimumSize(), w->maximumSize(), w->font(), 1.0});
    if (!placesItsChildren(w)) return;
    for (QObject* child : w->children()) {
        auto* cw = qobject_cast<QWidget*>(child);
        if (cw && !cw->isWindow()) take(cw, true);
    }
}

QRect DesignScale::scaled(const QRect& design, double scale) {
    // Each edge at its own scaled place, so that controls side by side in
    // the design stay side by side, without gaps or overlaps between them.
    const int left = at(design.x(), scale), top = at(design.y(), scale);
    const int right = at(design.x() + design.width(), scale), bottom = at(design.y() + design.height(), scale);
    return {left, top, right - left, bottom - top};
}

void DesignScale::applyFont(Control& c) {
    QFont f = c.font;
    const double k = scale_ * c.textFactor;
    if (c.font.pointSizeF() > 0)
        f.setPointSizeF(c.font.pointSizeF() * k);
    else if (c.font.pixelSize() > 0)
        f.setPixelSize(std::max(1, at(c.font.pixelSize(), k)));
    c.widget->setFont(f);
}

void DesignScale::apply(double scale) {
    scale_ = scale;
    root_.setProperty(kScaleProperty, scale);
    for (Control& c : controls_) {
        if (!c.widget) continue;
        QWidget* w = c.widget;
        const QRect geometry = scaled(c.geometry, scale);
        const QSize minimum = scaledSize(c.minimum, scale), maximum = scaledSize(c.maximum, scale);
        if (c.minimum == c.maximum) {
            // A control of fixed size placed by hand keeps to its scaled edges.
            w->setFixedSize(c.placed && c.minimum == c.geometry.size() ? geometry.size() : minimum);
        } else {
            w->setMinimumSize(minimum);
            w->setMaximumSize(maximum);
        }
        if (c.placed) w->setGeometry(geometry);
        applyFont(c);
    }
}

void DesignScale::setTextFactor(QWidget* w, double factor) {
    for (Control& c : controls_) {
        if (c.widget != w) continue;
        c.textFactor = factor;
        applyFont(c);
    }
}

double DesignScale::of(const QWidget* w) {
    if (!w) return 1.0;
    const QVariant v = w->window()->property(kScaleProperty);
    return v.isValid() ? v.toDouble() : 1.0;
}

double DesignScale::pixelRatio(const QWidget* w) { return w ? w->devicePixelRatioF() * of(w) : 1.0; }

} // namespace cxb
