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

int ReviewSettingsField::retentionPercent(const ReviewSettings& settings) {
    return std::clamp(static_cast<int>(std::lround(settings.retention * 100.0)), kMinRetentionPercent, kMaxRetentionPercent);
}

ReviewSettings ReviewSettingsField::chosen(int retentionPercent, int newPerDay) {
    ReviewSettings s;
    s.retention = std::clamp(retentionPercent, kMinRetentionPercent, kMaxRetentionPercent) / 100.0;
    s.newPerDay = std::clamp(newPerDay, 0, kMaxNewPerDay);
    return s;
}

} // namespace cxb
