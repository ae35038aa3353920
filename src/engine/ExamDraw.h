#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace cxb {

// The mock exam's draw: slot s of N takes a record from its own 1/N-th
// slice of the C records, never record 0 and never the previous slot's.
class ExamDraw {
public:
    // Where a reseed takes its value from (a high-resolution clock by
    // default). Tests set a fixed source.
    using SeedSource = std::function<std::uint32_t()>;

    explicit ExamDraw(SeedSource source = {});

    // Record positions for slots 1..n (result[0] is unused).
    std::vector<int> draw(int bankCount, int n);

    // The 32-bit linear congruential generator: a number in 0..range-1.
    std::uint32_t random(std::uint32_t range);
    void reseed(std::uint32_t seed) { seed_ = seed; }

    static std::uint32_t clockSeed();

private:
    SeedSource source_;
    std::uint32_t seed_ = 0;
};

} // namespace cxb
