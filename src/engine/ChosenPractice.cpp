#include "engine/ChosenPractice.h"

namespace cxb {

ChosenPractice::ChosenPractice(Session& s, PracticeModes& modes) : s_(s), modes_(modes) {}

int ChosenPractice::start(const std::string& title, int modeCode, Builder builder) {
    title_ = title;
    modeCode_ = modeCode;
    builder_ = std::move(builder);
    modes_.setRebuild([this] { build(); });
    return build();
}

int ChosenPractice::build() {
    // The positions are asked for now, not kept: another mode may have
    // sorted the bank since the list was first built.
    const std::vector<int> positions = builder_ ? builder_() : std::vector<int>{};
    modes_.beginPractice(title_);
    int n = 0;
    for (int r : positions) {
        if (r < 1 || r > s_.bankCount || n >= Session::kListSize - 1) continue;
        ++n;
        modes_.clearEntry(n);
        modes_.fillEntry(n, r);
    }
    s_.listCount = n;
    s_.displayMode = 2;
    modes_.finishPractice(modeCode_, 1, true);
    return n;
}

} // namespace cxb
