#include "engine/StarToggle.h"

#include <chrono>

namespace cxb {

StarToggle::StarToggle(Session& s, FavouriteMarks& marks) : s_(s), marks_(marks) {
    clock_ = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    };
}

bool StarToggle::toggleStar() {
    const ListEntry* e = s_.shown();
    if (!e) return false;
    const bool kept = marks_.toggle(e->id, clock_());
    // The button has already flipped under the click: it is set back to
    // what the journal holds either way.
    showButton(marks_.isStarred(e->id));
    if (!kept) s_.message(kNotKept);
    return kept;
}

void StarToggle::showButton(bool starred) {
    s_.port.setChecked(Ctl::btnxingbiao, starred);
    s_.port.setText(Ctl::btnxingbiao, caption(starred));
}

} // namespace cxb
