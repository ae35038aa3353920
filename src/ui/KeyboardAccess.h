#pragma once
#include <QString>

class QKeyEvent;
class QWidget;

namespace cxb {

// Binds a window's commands from the engine's key table: a shortcut per
// key that clicks its control (after a confirmation where the table asks
// for one), the key in the control's tooltip, and the focus afterwards.
class KeyboardAccess {
public:
    // `window` is the main window or a dialog; its object name selects the
    // table's entries. Controls that are hidden or disabled take no keys.
    static void bind(QWidget* window);
    // A key event in the table's form, "Ctrl+Return".
    static QString keyText(const QKeyEvent& event);
};

} // namespace cxb
