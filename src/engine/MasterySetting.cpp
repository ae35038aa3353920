#include "engine/MasterySetting.h"

#include <algorithm>
#include <string>

namespace cxb {

int MasterySetting::of(const Sfile& state) {
    const int stored = state.padding[0];
    return stored <= kMax ? stored : kNever;
}

void MasterySetting::store(Sfile& state, int mastery) {
    state.padding[0] = static_cast<std::uint8_t>(std::clamp(mastery, kNever, kMax));
}

std::string MasterySetting::progress(int streak, int mastery) {
    return std::to_string(std::clamp(streak, 0, mastery)) + "/" + std::to_string(mastery);
}

} // namespace cxb
