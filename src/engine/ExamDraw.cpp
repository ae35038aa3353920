#include "engine/ExamDraw.h"

#include <chrono>

namespace cxb {

ExamDraw::ExamDraw(SeedSource source) : source_(source ? std::move(source) : SeedSource(&ExamDraw::clockSeed)) {}

std::uint32_t ExamDraw::clockSeed() {
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks);
}

std::uint32_t ExamDraw::random(std::uint32_t range) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(range) * seed_) >> 32);
}

std::vector<int> ExamDraw::draw(int bankCount, int n) {
    std::vector<int> picked(n > 0 ? static_cast<std::size_t>(n) + 1 : 1, 0);
    if (n <= 0 || bankCount <= 0) return picked;
    const std::int64_t c = bankCount;
    int previous = -1;
    for (int s = 1; s <= n; ++s) {
        reseed(source_());
        int k = 0;
        for (int tries = 0;; ++tries) {
            std::int64_t r = random(static_cast<std::uint32_t>(c));
            std::int64_t d = r + (s - 1) * c + 1;
            float q = static_cast<float>(static_cast<double>(d) / static_cast<double>(n));
            k = static_cast<int>(static_cast<double>(q) + 0.5);
            if (k != previous && k != 0) break;
            if (tries > 100000) { // cannot happen with a working generator; never hang
                k = previous + 1;
                break;
            }
        }
        if (k > bankCount) k = bankCount;
        picked[static_cast<std::size_t>(s)] = k;
        previous = k;
    }
    return picked;
}

} // namespace cxb
