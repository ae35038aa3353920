#pragma once

class QKeyEvent;

namespace cxb {

// Qt key events as Windows virtual-key codes, the form the state file and
// the settings keep. 0 for a key without one.
class KeyMap {
public:
    static int virtualKey(const QKeyEvent& event);
    static int virtualKey(int qtKey, bool keypad);
};

} // namespace cxb
