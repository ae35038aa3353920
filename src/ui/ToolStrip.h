#pragma once
#include <QWidget>

namespace cxb {

class MainWindow;
class PictureButton;

// pnl3: the tool strip with its picture buttons, the bank picture and the
// maker's name, the version label and the close button.
class ToolStrip : public QWidget {
    Q_OBJECT
public:
    explicit ToolStrip(MainWindow& window);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    PictureButton* addButton(const char* name, int x, int size, const char* twin, const char* twinCaption);
    MainWindow& window_;
};

} // namespace cxb
