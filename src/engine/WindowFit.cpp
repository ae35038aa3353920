#include "engine/WindowFit.h"

#include <algorithm>
#include <cmath>

namespace cxb {

namespace {

// The offset that centres `length` on the span [start, start + room), kept
// on the span: a window larger than its room keeps its left or top edge,
// where its title and first controls are, on the screen.
int centred(int start, int room, int length) {
    if (length >= room) return start;
    return start + (room - length) / 2;
}

// Moves [pos, pos + length) onto [start, start + room) as far as it fits.
int clampOnto(int pos, int length, int start, int room) {
    if (pos + length > start + room) pos = start + room - length;
    return std::max(pos, start);
}

} // namespace

int WindowFit::scaled(int designLength, double scale) {
    // Rounded as the window's controls are placed, so that the window ends
    // where its last control does.
    return static_cast<int>(std::lround(designLength * scale));
}

double WindowFit::scaleFor(int width, int height, int designWidth, int designHeight) {
    if (designWidth <= 0 || designHeight <= 0) return 1.0;
    return std::min(static_cast<double>(width) / designWidth, static_cast<double>(height) / designHeight);
}

ScreenRect WindowFit::placed(const ScreenRect& area, double scale, int designHeight) {
    ScreenRect r;
    r.width = scaled(kDesignWidth, scale);
    r.height = scaled(designHeight, scale);
    r.x = centred(area.x, area.width, r.width);
    r.y = centred(area.y, area.height, r.height);
    return r;
}

WindowPlan WindowFit::firstShow(const ScreenRect& area) {
    WindowPlan plan;
    const double whole = std::min(1.0, scaleFor(area.width, area.height, kDesignWidth, kDesignHeight));
    if (whole >= kMinScale) {
        plan.scale = whole;
        plan.frame = placed(area, whole, kDesignHeight);
        return plan;
    }
    plan.shortWindow = true;
    plan.scale = std::clamp(scaleFor(area.width, area.height, kDesignWidth, kShortHeight), kMinScale, 1.0);
    plan.frame = placed(area, plan.scale, kShortHeight);
    plan.warn = !warned_;
    warned_ = true;
    return plan;
}

WindowPlan WindowFit::dialog(const ScreenRect& area, int designWidth, int designHeight, const ScreenRect& owner,
                             int frameWidth, int frameHeight) {
    WindowPlan plan;
    const double fit = scaleFor(area.width - frameWidth, area.height - frameHeight, designWidth, designHeight);
    plan.scale = std::clamp(fit, kMinScale, 1.0);
    plan.frame.width = scaled(designWidth, plan.scale);
    plan.frame.height = scaled(designHeight, plan.scale);
    const int outerWidth = plan.frame.width + frameWidth, outerHeight = plan.frame.height + frameHeight;
    // Over the middle of its owner, as a dialog opens; then onto the area.
    const bool hasOwner = owner.width > 0 && owner.height > 0;
    int x = hasOwner ? owner.x + (owner.width - outerWidth) / 2 : centred(area.x, area.width, outerWidth);
    int y = hasOwner ? owner.y + (owner.height - outerHeight) / 2 : centred(area.y, area.height, outerHeight);
    plan.frame.x = clampOnto(x, outerWidth, area.x, area.width);
    plan.frame.y = clampOnto(y, outerHeight, area.y, area.height);
    return plan;
}

} // namespace cxb
