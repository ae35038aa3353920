#pragma once

namespace cxb {

// A rectangle on the screen, in the window system's pixels.
struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool contains(const ScreenRect& r) const {
        return r.x >= x && r.y >= y && r.x + r.width <= x + width && r.y + r.height <= y + height;
    }
    bool operator==(const ScreenRect&) const = default;
};

// Where a window or dialog goes and how large it draws its design.
struct WindowPlan {
    double scale = 1.0;       // screen pixels per design pixel
    // x, y: the window's top left corner, its frame included (where a
    // move puts it); width × height: the inside, without the frame.
    ScreenRect frame;
    bool shortWindow = false; // the main window cut above the question picker
    bool warn = false;        // the small-screen message is due
};

// The geometry of the main window and the dialogs on a screen area (the
// screen less its panels). Every window is designed at a fixed size; on an
// area too small for it the whole design is drawn smaller, never larger
// than designed, and a learner may resize the window to any scale.
class WindowFit {
public:
    static constexpr int kDesignWidth = 1086;
    static constexpr int kDesignHeight = 786;
    static constexpr int kShortHeight = 627; // the window without the picker
    static constexpr int kPickerHeight = 785; // the picker shown again
    // Below this the text of the design can no longer be read.
    static constexpr double kMinScale = 0.7;

    // The main window's first showing on `area`: the whole design when it
    // fits at a readable scale; else the short window, as large as fits (at
    // least kMinScale), with the small-screen message, which is due once
    // per WindowFit however often this is asked.
    WindowPlan firstShow(const ScreenRect& area);

    // The main window at `scale`, cut at the short or the picker height,
    // centred on `area` (its top left kept on the area when it is larger).
    static ScreenRect placed(const ScreenRect& area, double scale, int designHeight);

    // The scale at which a window of `width` × `height` shows a design of
    // `designWidth` × `designHeight` whole.
    static double scaleFor(int width, int height, int designWidth, int designHeight);

    // A dialog designed at `designWidth` × `designHeight`, `frameExtra`
    // pixels of window frame around it (title bar included) per axis:
    // as large as designed when it fits on `area`, else smaller (at least
    // kMinScale); centred over `owner` and moved wholly onto the area.
    static WindowPlan dialog(const ScreenRect& area, int designWidth, int designHeight, const ScreenRect& owner,
                             int frameWidth = 0, int frameHeight = 0);

    // A length of the design at `scale`, rounded to whole screen pixels.
    static int scaled(int designLength, double scale);

private:
    bool warned_ = false;
};

} // namespace cxb
