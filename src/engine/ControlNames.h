#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/QuestionView.h"

namespace cxb {

// What a screen reader reads for the controls: a name for every picture,
// list, text and panel whose caption does not say it, and descriptions of
// the question on show.
class ControlNames {
public:
    // The accessible name of a control in a window (object names); "" when
    // the control's own caption names it.
    static std::string name(std::string_view window, std::string_view control);
    // Every named control of a window, as (object name, name) pairs.
    static std::vector<std::pair<std::string, std::string>> names(std::string_view window);

    // The text of option `letter` (0 = A … 7 = H) in a question text: the
    // line that begins with the letter and "、", "．", ".", "：" or ":".
    // "" when the text has no such line.
    static std::string optionText(std::string_view questionText, int letter);

    // The descriptions of the question view's controls for a view, as
    // (object name, description) pairs: the question with its number, each
    // answer with its option, the judgement after answering.
    static std::vector<std::pair<std::string, std::string>> questionDescriptions(const QuestionView& view);
};

} // namespace cxb
