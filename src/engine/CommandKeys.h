#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace cxb {

// How a command's keys reach it.
enum class KeyBinding {
    Shortcut,     // the window binds the keys to the control: as a click on it
    Confirmed,    // the same, after the learner confirms (kConfirmHandIn)
    QuestionKeys, // the question keys take it (KeyRules); listed, not bound
    Dialog,       // a dialog's own default and cancel keys; listed, not bound
};

// One command and its keys. Keys are in Qt's portable key-sequence text
// ("Ctrl+1", "Return", "F1"); several are separated by "; ".
struct CommandKey {
    const char* window;  // object name of the window or dialog
    const char* control; // object name of the control the keys work
    const char* command; // what the command does, as the information page lists it
    const char* keys;
    KeyBinding binding;
    const char* focus = nullptr; // control that gets the focus after the command
};

// Every keyboard command of the program in one table: the windows bind
// them, tooltips and the information page show them.
class CommandKeys {
public:
    static constexpr const char* kConfirmHandIn = "确定现在交卷吗？";

    static const std::vector<CommandKey>& all();
    // The entry of a control in a window; nullptr when it has none.
    static const CommandKey* find(std::string_view window, std::string_view control);
    // The single key sequences of an entry.
    static std::vector<std::string> keys(const CommandKey& entry);
    // Whether a key sequence (portable text) is bound as a shortcut in the
    // window. Such a key never also answers a question.
    static bool isShortcut(std::string_view window, std::string_view keyText);
    // A key sequence as the learner reads it: "Return" is "Enter", "Up" "↑".
    static std::string shown(std::string_view keyText);
    // The first key of the entry, shown; the others follow after "、".
    static std::string shownKeys(const CommandKey& entry);
    // "caption（key）": the tooltip of the control.
    static std::string tooltip(const CommandKey& entry);
};

} // namespace cxb
