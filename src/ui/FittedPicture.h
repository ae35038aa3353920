#pragma once
#include <QLabel>
#include <QPixmap>

namespace cxb {

// A picture label that shows its picture whole: one larger than the label is
// scaled down smoothly, keeping its proportions; a smaller one is shown at
// its own size, centred. A click on a scaled picture opens it at full size
// in a window of its own.
class FittedPicture : public QLabel {
    Q_OBJECT
public:
    explicit FittedPicture(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    void clearPicture();
    const QPixmap& picture() const { return picture_; }
    // True when the label shows the picture smaller than it is.
    bool isScaled() const;
    // The full-size window opened by the last click, while it is open.
    QWidget* fullSizeView() const { return view_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fit();
    QPixmap picture_;
    QWidget* view_ = nullptr;
};

} // namespace cxb
