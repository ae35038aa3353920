#include "ui/ScreenReaderNames.h"

#include <QWidget>

#include "engine/ControlNames.h"

namespace cxb {

namespace {
QWidget* child(QWidget* window, const std::string& name) {
    const QString n = QString::fromStdString(name);
    return window->objectName() == n ? window : window->findChild<QWidget*>(n);
}
} // namespace

void ScreenReaderNames::apply(QWidget* window) {
    for (const auto& [control, name] : ControlNames::names(window->objectName().toStdString()))
        if (QWidget* w = child(window, control)) w->setAccessibleName(QString::fromStdString(name));
}

void ScreenReaderNames::describe(QWidget* window, const QuestionView& view) {
    for (const auto& [control, description] : ControlNames::questionDescriptions(view))
        if (QWidget* w = child(window, control)) w->setAccessibleDescription(QString::fromStdString(description));
}

} // namespace cxb
