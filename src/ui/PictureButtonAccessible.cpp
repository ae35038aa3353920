#include "ui/PictureButtonAccessible.h"

#include "ui/PictureButton.h"

namespace cxb {

namespace {
QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("cxb::PictureButton") && object && object->isWidgetType())
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    return nullptr;
}
} // namespace

PictureButtonAccessible::PictureButtonAccessible(PictureButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

QString PictureButtonAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return widget()->accessibleName();
    return QAccessibleWidget::text(t);
}

QStringList PictureButtonAccessible::actionNames() const { return {pressAction()}; }

void PictureButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction()) static_cast<PictureButton*>(widget())->click();
}

void PictureButtonAccessible::install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(factory);
}

} // namespace cxb
