#include "engine/PickerCanvas.h"

#include <algorithm>

namespace cxb {

PickerCanvas::PickerCanvas() : styles_(2000, kBlank) {}

void PickerCanvas::drawWhole(int listCount) {
    std::fill(styles_.begin(), styles_.end(), kBlank);
    int n = std::clamp(listCount, 0, 1999);
    std::fill(styles_.begin() + 1, styles_.begin() + 1 + n, kPlain);
    painted_ = n;
}

void PickerCanvas::drawCell(int k, int style, int listCount) {
    if (style == kWhole) {
        drawWhole(listCount);
        return;
    }
    if (style == kCurrent) drawWhole(listCount);
    if (k < 1 || k > 1999) return;
    styles_[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(style);
    painted_ = std::max(painted_, k);
}

int PickerCanvas::style(int k) const {
    if (k < 1 || k > 1999) return kBlank;
    return styles_[static_cast<std::size_t>(k)];
}

int PickerCanvas::pictureHeight(int cells) {
    int rows = (std::max(cells, 0) + kPerRow - 1) / kPerRow;
    return std::max(kHeight, rows * kCellHeight + 1);
}

CellLook PickerCanvas::look(int k, const ListEntry* entry, int displayMode) const {
    CellLook l;
    const int s = style(k);
    l.number = kBlack;
    l.numberBack = kButtonFace;
    if (s == kCurrent) l.blue = true;
    if (entry && entry->userAnswer != 0) {
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
    if (s == kHover) l.number = kBlue;
    if (s == kBank) {
        l.number = kBlue;
        l.styleRect = true;
        l.rectFill = kButtonFace;
        l.rectOutline = kGreen;
    }
    if (s == kDrawn) {
        l.number = kBlue;
        l.styleRect = true;
        l.rectFill = kGreen;
        l.rectOutline = kRed;
        l.numberBack = kGreen;
    }
    return l;
}

} // namespace cxb
