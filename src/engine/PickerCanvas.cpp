#include "engine/PickerCanvas.h"

#include <algorithm>

namespace cxb {

PickerCanvas::PickerCanvas() : styles_(2000, kBlank), backdrops_(2000, kBlank) {}

void PickerCanvas::drawWhole(int listCount) {
    std::fill(styles_.begin(), styles_.end(), kBlank);
    int n = std::clamp(listCount, 0, 1999);
    std::fill(styles_.begin() + 1, styles_.begin() + 1 + n, kPlain);
    backdrops_ = styles_;
    painted_ = n;
}

void PickerCanvas::drawCell(int k, int style, int listCount) {
    if (style == kWhole) {
        drawWhole(listCount);
        return;
    }
    if (style == kCurrent) drawWhole(listCount);
    if (k < 1 || k > 1999) return;
    const auto at = static_cast<std::size_t>(k);
    styles_[at] = static_cast<std::uint8_t>(style);
    // Plain and hover draw only the number (and the state fill) over what
    // the cell shows; the other styles lay a new backdrop.
    if (style != kPlain && style != kHover) backdrops_[at] = static_cast<std::uint8_t>(style);
    else if (backdrops_[at] == kBlank) backdrops_[at] = kPlain;
    painted_ = std::max(painted_, k);
}

int PickerCanvas::style(int k) const {
    if (k < 1 || k > 1999) return kBlank;
    return styles_[static_cast<std::size_t>(k)];
}

int PickerCanvas::backdrop(int k) const {
    if (k < 1 || k > 1999) return kBlank;
    return backdrops_[static_cast<std::size_t>(k)];
}

int PickerCanvas::pictureHeight(int cells) {
    int rows = (std::max(cells, 0) + kPerRow - 1) / kPerRow;
    return std::max(kHeight, rows * kCellHeight + 1);
}

CellLook PickerCanvas::look(int k, const ListEntry* entry, int displayMode) const {
    CellLook l;
    const int s = style(k);
    const int under = backdrop(k);
    const bool answered = entry && entry->userAnswer != 0;
    l.number = kBlack;
    l.numberBack = kButtonFace;
    if (under == kCurrent) l.blue = true;
    if (answered) {
        l.stateRect = true;
        if (displayMode == 1) {
            l.stateFill = kGreen;
            l.stateOutline = kRed;
            l.number = kGreen;
        } else {
            bool right = entry->userAnswer == entry->answer;
            l.stateFill = right ? kGreen : kRed;
            l.stateOutline = right ? kRed : kGreen;
            l.number = kRed;
        }
    }
    // The bank or drawn rectangle: drawn last in its own style, or left
    // under a number redrawn plain or hovered (an answer's fill covers it).
    int rect = kBlank;
    if (s == kBank || s == kDrawn) rect = s;
    else if ((s == kPlain || s == kHover) && !answered && (under == kBank || under == kDrawn)) rect = under;
    if (rect == kBank) {
        l.styleRect = true;
        l.rectFill = kButtonFace;
        l.rectOutline = kGreen;
    } else if (rect == kDrawn) {
        l.styleRect = true;
        l.rectFill = kGreen;
        l.rectOutline = kRed;
    }
    if (s == kHover || s == kBank || s == kDrawn) l.number = kBlue;
    if (s == kDrawn) l.numberBack = kGreen;
    return l;
}

} // namespace cxb
