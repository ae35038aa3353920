// Where the main window and the dialogs go on screens of every size: the
// scale the design is drawn at, the place, the short window and the
// small-screen message.
#include <gtest/gtest.h>

#include "engine/WindowFit.h"

using namespace cxb;

namespace cxb {
static void PrintTo(const ScreenRect& r, std::ostream* os) {
    *os << r.x << "," << r.y << " " << r.width << "x" << r.height;
}
} // namespace cxb

namespace {

struct FirstShowCase {
    const char* name;
    ScreenRect area;
    double scale;
    ScreenRect frame;
    bool shortWindow;
};

} // namespace

TEST(WindowFitFirstShow, EveryScreenGetsAWindowThatFits) {
    const FirstShowCase cases[] = {
        // Room for the design: drawn as designed, centred, never larger.
        {"full HD", {0, 0, 1920, 1080}, 1.0, {417, 147, 1086, 786}, false},
        {"exactly the design", {0, 0, 1086, 786}, 1.0, {0, 0, 1086, 786}, false},
        {"1280x1024", {0, 0, 1280, 1024}, 1.0, {97, 119, 1086, 786}, false},
        // Too low: the whole window smaller, the picker still shown.
        {"1366x768", {0, 0, 1366, 768}, 768.0 / 786, {152, 0, 1061, 768}, false},
        {"1366x768 less a 27-pixel panel", {0, 27, 1366, 741}, 741.0 / 786, {171, 27, 1024, 741}, false},
        {"2560x1440 at scale 2", {0, 0, 1280, 720}, 720.0 / 786, {142, 0, 995, 720}, false},
        {"1280x1024 at 125 %", {0, 0, 1024, 819}, 1024.0 / 1086, {0, 39, 1024, 741}, false},
        {"1024x768", {0, 0, 1024, 768}, 1024.0 / 1086, {0, 13, 1024, 741}, false},
        {"800x600", {0, 0, 800, 600}, 800.0 / 1086, {0, 10, 800, 579}, false},
        {"second screen to the right", {1920, 0, 1366, 768}, 768.0 / 786, {2072, 0, 1061, 768}, false},
        // Even the smallest readable window cannot show the picker.
        {"640x480", {0, 0, 640, 480}, WindowFit::kMinScale, {0, 20, 760, 439}, true},
        {"1024x400", {0, 0, 1024, 400}, WindowFit::kMinScale, {132, 0, 760, 439}, true},
        {"1024x500", {0, 0, 1024, 500}, 500.0 / 627, {79, 0, 866, 500}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFit fit;
        const WindowPlan plan = fit.firstShow(c.area);
        EXPECT_NEAR(plan.scale, c.scale, 1e-9);
        EXPECT_EQ(plan.frame, c.frame) << plan.frame.x << "," << plan.frame.y << " " << plan.frame.width << "x"
                                       << plan.frame.height;
        EXPECT_EQ(plan.shortWindow, c.shortWindow);
        EXPECT_EQ(plan.warn, c.shortWindow);
        // A window that can be shown at a readable scale is wholly on the area.
        if (plan.scale > WindowFit::kMinScale) {
            EXPECT_TRUE(c.area.contains(plan.frame));
        }
    }
}

TEST(WindowFitFirstShow, TheSmallScreenMessageIsDueOncePerRun) {
    WindowFit fit;
    EXPECT_TRUE(fit.firstShow({0, 0, 640, 480}).warn);
    const WindowPlan again = fit.firstShow({0, 0, 640, 480});
    EXPECT_FALSE(again.warn);
    EXPECT_TRUE(again.shortWindow); // the window is still short, only the message is not repeated
    EXPECT_FALSE(fit.firstShow({0, 0, 1920, 1080}).warn);
}

TEST(WindowFitPlaced, TheShortAndTheFullWindowAreCentredAtTheirScale) {
    const ScreenRect area{0, 0, 1366, 768};
    const double s = 768.0 / 786;
    EXPECT_EQ(WindowFit::placed(area, s, WindowFit::kShortHeight), (ScreenRect{152, 77, 1061, 613}));
    EXPECT_EQ(WindowFit::placed(area, s, WindowFit::kPickerHeight), (ScreenRect{152, 0, 1061, 767}));
    EXPECT_EQ(WindowFit::placed(area, 1.0, WindowFit::kShortHeight), (ScreenRect{140, 70, 1086, 627}));
    // Larger than the area: the top left corner stays on it.
    EXPECT_EQ(WindowFit::placed({10, 20, 500, 400}, 1.0, WindowFit::kDesignHeight),
              (ScreenRect{10, 20, 1086, 786}));
}

TEST(WindowFitScale, AResizedWindowShowsTheWholeDesign) {
    struct Case { int w, h, designH; double scale; };
    const Case cases[] = {
        {1086, 786, WindowFit::kDesignHeight, 1.0},
        {2172, 1572, WindowFit::kDesignHeight, 2.0},
        {2172, 786, WindowFit::kDesignHeight, 1.0}, // wider only: the height decides
        {543, 1572, WindowFit::kDesignHeight, 0.5},  // higher only: the width decides
        {1086, 627, WindowFit::kShortHeight, 1.0},
        {1629, 940, WindowFit::kShortHeight, 1.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        EXPECT_NEAR(WindowFit::scaleFor(c.w, c.h, WindowFit::kDesignWidth, c.designH), c.scale, 0.002);
    }
    // The lengths at a scale worked out from a length come back whole.
    for (int w : {1366, 1280, 1024, 994, 800}) {
        const double s = WindowFit::scaleFor(w, 10000, WindowFit::kDesignWidth, WindowFit::kDesignHeight);
        EXPECT_EQ(WindowFit::scaled(WindowFit::kDesignWidth, s), w);
    }
    EXPECT_EQ(WindowFit::scaleFor(100, 100, 0, 0), 1.0); // nothing designed: nothing to scale
}

TEST(WindowFitDialog, DialogsLieWhollyOnTheArea) {
    struct Case {
        const char* name;
        ScreenRect area;
        int w, h;
        ScreenRect owner;
        int frameW, frameH;
        double scale;
        ScreenRect frame;
    };
    const ScreenRect mainOn1366{152, 0, 1061, 768};
    const Case cases[] = {
        {"settings over the window", {0, 0, 1366, 768}, 708, 623, mainOn1366, 0, 0, 1.0, {328, 72, 708, 623}},
        {"settings with a title bar", {0, 0, 1366, 768}, 708, 623, mainOn1366, 8, 38, 1.0, {324, 53, 708, 623}},
        {"settings at scale 2", {0, 0, 1280, 720}, 708, 623, {143, 0, 994, 720}, 8, 38, 1.0, {282, 29, 708, 623}},
        {"settings on a low area", {0, 0, 1024, 600}, 708, 623, {}, 0, 40, 560.0 / 623, {194, 0, 636, 560}},
        {"history", {0, 0, 1024, 819}, 631, 302, {0, 39, 1024, 741}, 0, 0, 1.0, {196, 258, 631, 302}},
        {"owner off to the right", {0, 0, 1366, 768}, 662, 490, {1200, 300, 1086, 786}, 0, 0, 1.0,
         {704, 278, 662, 490}},
        {"owner above the area", {0, 30, 1366, 738}, 662, 490, {100, -400, 900, 500}, 0, 0, 1.0,
         {219, 30, 662, 490}},
        {"no room at a readable scale", {0, 0, 400, 300}, 708, 623, {}, 0, 0, WindowFit::kMinScale,
         {0, 0, 496, 436}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowPlan plan = WindowFit::dialog(c.area, c.w, c.h, c.owner, c.frameW, c.frameH);
        EXPECT_NEAR(plan.scale, c.scale, 1e-9);
        EXPECT_EQ(plan.frame, c.frame) << plan.frame.x << "," << plan.frame.y << " " << plan.frame.width << "x"
                                       << plan.frame.height;
        const ScreenRect outer{plan.frame.x, plan.frame.y, plan.frame.width + c.frameW, plan.frame.height + c.frameH};
        if (plan.scale > WindowFit::kMinScale) {
            EXPECT_TRUE(c.area.contains(outer));
        }
        EXPECT_FALSE(plan.warn);
    }
}
