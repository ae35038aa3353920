#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QImage>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <QWidget>
#include <vector>

namespace cxb {

struct Session;

// The question picker's picture (mage1): paints the cells the engine keeps
// and forwards the mouse.
class PickerWidget : public QWidget {
    Q_OBJECT
public:
    PickerWidget(Session& session, QWidget* parent);
    // Grows the picture when a list needs more rows than it has.
    void updateSize();
    // Draws the picture `scale` times its design size; the mouse is still
    // reported in design pixels.
    void setScale(double scale);
    double scale() const { return scale_; }
    // Paints the part `area` of the picture.
    void paintPicker(QPainter& painter, const QRect& area);

signals:
    void hovered(int x, int y);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The numbers of the strip holding `k`, in one colour: each strip of
    // kStripNumbers numbers is drawn the first time one of them is shown,
    // so a window showing a few cells never draws the other 1,999.
    const QImage& numberStrip(std::uint32_t colour, int k);
    int numberWidth(int k);
    static constexpr int kSlotWidth = 34;
    static constexpr int kStripNumbers = 50;
    Session& s_;
    QFont numberFont_;
    std::optional<QFontMetrics> metrics_; // made at the first paint
    std::map<std::pair<std::uint32_t, int>, QImage> strips_; // (colour, strip) -> slots
    std::vector<int> numberWidths_;                          // -1 until measured
    int slotHeight_ = 16;
    double scale_ = 1.0;
};

} // namespace cxb
