#include "engine/ReviewWithMastery.h"

#include "engine/ErrorReview.h"
#include "engine/MasterySetting.h"
#include "engine/PracticeModes.h"

namespace cxb {

ReviewWithMastery::ReviewWithMastery(Session& s, PracticeModes& modes, Answers answers)
    : s_(s), modes_(modes), answers_(std::move(answers)) {}

bool ReviewWithMastery::active() const { return MasterySetting::of(*s_.state) > 0; }

std::vector<MasteryReview::Entry> ReviewWithMastery::entries() const {
    const auto streaks = MasteryReview::rightStreaks(answers_ ? answers_() : std::vector<JournalAnswer>{});
    return MasteryReview::build(*s_.bank, streaks, MasterySetting::of(*s_.state));
}

void ReviewWithMastery::showRows() {
    const int mastery = MasterySetting::of(*s_.state);
    s_.reviewRows.clear();
    for (const MasteryReview::Entry& e : entries()) {
        QuestionRow row = ErrorReview::rowOf(s_.record(e.position));
        row.progress = MasterySetting::progress(e.streak, mastery);
        s_.reviewRows.push_back(std::move(row));
    }
    s_.port.setRows(Ctl::lv1, s_.reviewRows);
}

int ReviewWithMastery::fillList() {
    int n = 0;
    for (const MasteryReview::Entry& e : entries()) {
        if (n >= Session::kListSize - 1) break;
        ++n;
        modes_.clearEntry(n);
        modes_.fillEntry(n, e.position);
    }
    if (n > 0) s_.listCount = n;
    return n;
}

} // namespace cxb
