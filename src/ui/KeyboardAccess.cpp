#include "ui/KeyboardAccess.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>

#include "engine/CommandKeys.h"
#include "ui/Dialogs.h"
#include "ui/PictureButton.h"

namespace cxb {

namespace {

void activate(QWidget* window, QWidget* control, const CommandKey& entry) {
    if (entry.binding == KeyBinding::Confirmed &&
        !Dialogs::question(window, QString::fromUtf8(CommandKeys::kConfirmHandIn)))
        return;
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->click();
    else if (auto* picture = qobject_cast<PictureButton*>(control))
        picture->click();
    if (entry.focus)
        if (auto* target = window->findChild<QWidget*>(QString::fromUtf8(entry.focus)); target && target->isVisible())
            target->setFocus(Qt::ShortcutFocusReason);
}

} // namespace

void KeyboardAccess::bind(QWidget* window) {
    const std::string name = window->objectName().toStdString();
    for (const CommandKey& entry : CommandKeys::all()) {
        if (name != entry.window || !*entry.control) continue;
        QWidget* control = window->findChild<QWidget*>(QString::fromUtf8(entry.control));
        if (!control) continue;
        control->setToolTip(QString::fromStdString(CommandKeys::tooltip(entry)));
        if (entry.binding != KeyBinding::Shortcut && entry.binding != KeyBinding::Confirmed) continue;
        for (const std::string& key : CommandKeys::keys(entry)) {
            // Parented to the control: a window shortcut of a hidden or
            // disabled control does not fire, just as it cannot be clicked.
            auto* shortcut = new QShortcut(QKeySequence(QString::fromStdString(key), QKeySequence::PortableText), control);
            shortcut->setContext(Qt::WindowShortcut);
            shortcut->setAutoRepeat(false);
            QObject::connect(shortcut, &QShortcut::activated, control,
                             [window, control, &entry] { activate(window, control, entry); });
        }
    }
}

QString KeyboardAccess::keyText(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier |
                                                            Qt::MetaModifier);
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(event.key()))).toString(QKeySequence::PortableText);
}

} // namespace cxb
