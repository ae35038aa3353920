#pragma once

namespace cxb {

// Fontconfig reads its whole configuration (dozens of XML files) and its font
// caches the first time any text is measured: some 5 ms of start-up that the
// window would otherwise sit waiting for. start() does that reading on
// another thread at the very beginning of main, while the application object,
// the state file and the bank are set up on this one; finish() waits for it
// just before the first widget with text is built, so the configuration is
// read once, not twice. Both are harmless when called again, and finish()
// is harmless without start() (the tests build windows without it).
class FontWarmup {
public:
    static void start();
    static void finish();
};

} // namespace cxb
