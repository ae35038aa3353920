#pragma once
#include <functional>
#include <string>
#include <vector>

#include "engine/PracticeModes.h"

namespace cxb {

// Runs a practice list whose questions were chosen elsewhere: a chapter or
// topic, a random draw, the favourites, 智能复习. The list holds the bank
// positions its builder gives, in that order, and the bank itself is not
// sorted. It then runs as the other practice lists do: counters, review,
// picker, and "重新出题" builds it again with the same builder.
class ChosenPractice {
public:
    // Bank positions (1..questionCount), in the order they are practised.
    using Builder = std::function<std::vector<int>()>;

    ChosenPractice(Session& s, PracticeModes& modes);

    // Builds the list and shows its first question. `title` names it in the
    // caption; `modeCode` is one of ChosenModes. Positions outside the bank
    // are left out, and a list never holds more than Session::kListSize - 1
    // entries. Returns the list's length (0: an empty list is shown, as an
    // empty beginner list would be).
    int start(const std::string& title, int modeCode, Builder builder);

    const std::string& title() const { return title_; }

private:
    int build();

    Session& s_;
    PracticeModes& modes_;
    std::string title_;
    int modeCode_ = 0;
    Builder builder_;
};

} // namespace cxb
