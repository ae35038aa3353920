#pragma once
#include <string>

#include "data/Sfile.h"

namespace cxb {

// How many right answers in a row take a question out of the 曾经全部错题
// review: the settings dialog's "错题复习". It is kept in the state file's
// free padding byte `Sfile::padding[0]`, which older files hold as 0:
// never, every ever-wrong question stays in the review.
class MasterySetting {
public:
    static constexpr int kNever = 0;
    static constexpr int kMax = 9;
    static constexpr const char* kLabel = "连续答对几次后移出错题集（0 为不移出）";

    // The setting a state holds; a byte above kMax reads as never.
    static int of(const Sfile& state);
    // Stores `mastery`, brought into 0..kMax.
    static void store(Sfile& state, int mastery);
    // "1/3": how far a question has come with `streak` right answers in a row.
    static std::string progress(int streak, int mastery);
};

} // namespace cxb
