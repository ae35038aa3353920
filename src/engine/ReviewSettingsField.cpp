#include "engine/ReviewSettingsField.h"

#include <algorithm>
#include <cmath>

namespace cxb {

ReviewSettings ReviewSettingsField::read(const Sfile& state) {
    ReviewSettings s;
    if (state.reserved1 >= 500 && state.reserved1 <= 990) s.retention = state.reserved1 / 1000.0;
    if (state.reserved2 >= 1 && state.reserved2 <= 2000) s.newPerDay = state.reserved2 - 1;
    return s;
}

void ReviewSettingsField::write(Sfile& state, const ReviewSettings& settings) {
    state.reserved1 = static_cast<std::int32_t>(std::lround(std::clamp(settings.retention, 0.5, 0.99) * 1000.0));
    state.reserved2 = std::clamp(settings.newPerDay, 0, 1999) + 1;
}

} // namespace cxb
