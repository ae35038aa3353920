#pragma once
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace cxb {

// Draws a window designed with fixed positions at any scale: the design
// geometry, size limits and font of every control placed by hand are taken
// once, and each scale puts them at that many screen pixels per design
// pixel. Controls laid out by Qt itself (the inside of lists, scroll areas,
// combo and spin boxes, anything under a layout) follow their parent.
//
// The scale is kept on the window (see of()), so that pictures can be read
// at the resolution they are drawn at.
class DesignScale {
public:
    // Takes the design of `root` and every control under it as it is now.
    explicit DesignScale(QWidget& root);

    // Puts every control at `scale`; the root's own size limits too, but
    // its size and place are the caller's.
    void apply(double scale);
    double scale() const { return scale_; }

    // Draws the text of `w` `factor` times larger than designed, on top of
    // the scale (the learner's text size).
    void setTextFactor(QWidget* w, double factor);

    // The scale of the window `w` is in; 1 for a window never scaled.
    static double of(const QWidget* w);
    // Device pixels per design pixel where `w` is shown: the screen's
    // pixel ratio times the scale, to choose the picture file to read.
    static double pixelRatio(const QWidget* w);
    // A design rectangle at `scale`, with edges on whole pixels.
    static QRect scaled(const QRect& design, double scale);

private:
    struct Control {
        QPointer<QWidget> widget;
        bool placed = true; // its geometry is the design's, not a layout's
        QRect geometry;
        QSize minimum, maximum;
        QFont font;
        double textFactor = 1.0;
    };
    void take(QWidget* w, bool placed);
    void applyFont(Control& c);
    QWidget& root_;
    std::vector<Control> controls_;
    double scale_ = 1.0;
};

} // namespace cxb
