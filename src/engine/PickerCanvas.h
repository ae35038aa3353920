#pragma once
#include <cstdint>
#include <vector>

#include "engine/ListEntry.h"

namespace cxb {

// How one picker cell looks; colours are Windows values 0x00BBGGRR, with
// kButtonFace standing for the system's button-face colour.
struct CellLook {
    bool blue = false;      // the current question's blue fill
    bool stateRect = false; // answered: right/wrong fill
    std::uint32_t stateFill = 0, stateOutline = 0;
    bool styleRect = false; // bank or drawn style
    std::uint32_t rectFill = 0, rectOutline = 0;
    std::uint32_t number = 0;     // colour of the number
    std::uint32_t numberBack = 0; // the small box behind the number
};

// The question picker: a grid of numbered cells, 40 × 30 pixels, 21 a row.
// It keeps, for each cell, the style it was last drawn in and the backdrop
// that drawing left under the number: redrawing a cell plain or hovered
// only repaints its number (and an answer's state fill), so the current
// question's blue and the exam start display's rectangles stay. The window
// paints from it.
class PickerCanvas {
public:
    static constexpr int kCellWidth = 40, kCellHeight = 30, kPerRow = 21;
    static constexpr int kWidth = 860, kHeight = 1747; // fits 1,218 cells
    static constexpr std::uint32_t kBlue = 0xFF0000, kGreen = 0x008000, kRed = 0x0000FF, kBlack = 0;
    static constexpr std::uint32_t kButtonFace = 0xFF000000;
    enum Style : std::uint8_t { kPlain = 0, kHover = 1, kBank = 3, kWhole = 4, kDrawn = 5, kCurrent = 6, kBlank = 255 };

    PickerCanvas();

    // Style 4: every cell blank, cells 1..listCount plain.
    void drawWhole(int listCount);
    // One cell in a style; style 6 first redraws the whole picker.
    void drawCell(int k, int style, int listCount);

    int style(int k) const;
    // What lies under the number: kCurrent (blue), kBank or kDrawn
    // (rectangles), or kPlain.
    int backdrop(int k) const;
    int paintedCells() const { return painted_; }
    // Height of the picture for this many cells (at least the designed one).
    static int pictureHeight(int cells);
    // The cell under a point of the picture, 1-based (may be out of range).
    static int hitTest(int x, int y) { return x / kCellWidth + (y / kCellHeight) * kPerRow + 1; }

    // The look of cell k; `entry` is the list entry it stands for, or
    // nullptr when k is beyond the list.
    CellLook look(int k, const ListEntry* entry, int displayMode) const;

private:
    std::vector<std::uint8_t> styles_;
    std::vector<std::uint8_t> backdrops_;
    int painted_ = 0;
};

} // namespace cxb
