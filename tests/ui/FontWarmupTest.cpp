// The font set-up started ahead of the window: safe to finish without a
// start, to start and finish twice, and the configuration is there after it.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include "ui/FontWarmup.h"

using namespace cxb;

TEST(FontWarmup, StartAndFinishInAnyOrder) {
    FontWarmup::finish(); // never started: nothing to wait for
    FontWarmup::start();
    FontWarmup::start(); // already running or done: no second thread
    FontWarmup::finish();
    EXPECT_NE(FcConfigGetCurrent(), nullptr);
    FontWarmup::finish();
    FontWarmup::start(); // a finished warm-up may run again
    FontWarmup::finish();
}
