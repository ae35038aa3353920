#pragma once
#include <QWidget>

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

signals:
    void hovered(int x, int y);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Session& s_;
};

} // namespace cxb
