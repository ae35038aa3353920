#pragma once

class QWidget;

namespace cxb {

struct QuestionView;

// Gives a window's controls the accessible names and descriptions the
// engine's ControlNames decides on.
class ScreenReaderNames {
public:
    // Names every control of `window` found in the table (its object name
    // selects the entries). Controls built later need another call.
    static void apply(QWidget* window);
    // The descriptions of the question on show.
    static void describe(QWidget* window, const QuestionView& view);
};

} // namespace cxb
