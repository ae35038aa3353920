#pragma once
#include "data/Sfile.h"
#include "engine/SmartReview.h"

namespace cxb {

// 智能复习's settings in the two words the state file's format leaves
// reserved before bankPath (offsets 2472064 and 2472068, `reserved1` and
// `reserved2`): the desired retention in thousandths, and the new questions
// a day plus one. A file that never set them has 0 there, read as the
// defaults (0.9, 20); values out of range read as the defaults too.
class ReviewSettingsField {
public:
    static ReviewSettings read(const Sfile& state);
    static void write(Sfile& state, const ReviewSettings& settings);

    // What the settings dialog offers: a retention of 70–97 %, 0–200 new
    // questions a day.
    static constexpr int kMinRetentionPercent = 70;
    static constexpr int kMaxRetentionPercent = 97;
    static constexpr int kMaxNewPerDay = 200;
    // The retention in whole percent, held within what the dialog offers.
    static int retentionPercent(const ReviewSettings& settings);
    // The dialog's choices as settings, each held within its range.
    static ReviewSettings chosen(int retentionPercent, int newPerDay);
};

} // namespace cxb
