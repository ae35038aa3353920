#include "ui/FontWarmup.h"

#include <fontconfig/fontconfig.h>
#include <system_error>
#include <thread>

namespace cxb {

namespace {
// Joined at the latest when the program ends.
std::jthread& worker() {
    static std::jthread thread;
    return thread;
}
} // namespace

void FontWarmup::start() {
    if (worker().joinable()) return;
    try {
        // Fontconfig sets up its configuration once, safely from any thread:
        // whoever asks first does the work and the others use it.
        worker() = std::jthread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: the fonts are set up when first needed, as usual.
    }
}

void FontWarmup::finish() {
    if (worker().joinable()) worker().join();
}

} // namespace cxb
