#pragma once
#include <QAccessibleWidget>

namespace cxb {

class PictureButton;

// A picture button as assistive technology sees it: a push button with its
// accessible name, focusable, whose press action clicks it.
class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton* button);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Installs the factory that gives every picture button this interface;
    // once per run is enough, more calls do nothing.
    static void install();
};

} // namespace cxb
