#pragma once
#include <QFont>
#include <QPainter>
#include <QImage>
#include <cstdint>
#include <map>
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
    const QImage& numberAtlas(std::uint32_t colour);
    static constexpr int kSlotWidth = 34;
    Session& s_;
    QFont numberFont_;
    std::map<std::uint32_t, QImage> atlases_; // the numbers 1..1999 in one colour
    std::vector<int> numberWidths_;
    int slotHeight_ = 16;

};

} // namespace cxb
