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
};

} // namespace cxb
