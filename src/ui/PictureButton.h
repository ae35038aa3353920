#pragma once
#include <QLabel>

namespace cxb {

// A picture that acts as a button: it tells when the mouse moves over it,
// leaves it, presses it and clicks it. It takes the keyboard focus (Tab),
// shows a focus frame, and the space key clicks it.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    explicit PictureButton(const QString& name, QWidget* parent, QSize size);

    // Loads a picture file; on failure the old picture stays and false is
    // returned.
    bool loadPicture(const QString& nativePath);
    QString pictureFile() const { return file_; }

    // A click from the keyboard, a shortcut or a screen reader.
    void click() { emit clicked(); }

signals:
    void moved();
    void left();
    void pressed();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString file_;
    QPixmap source_; // the picture as read, fitted again to each size
    bool down_ = false;
};

} // namespace cxb
