#include "engine/FiledLists.h"

#include <algorithm>

namespace cxb {
namespace {

// splitmix64: a small generator whose every output is fixed by its seed.
class Draw {
public:
    explicit Draw(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, bound), without the bias of a plain remainder.
    std::uint64_t below(std::uint64_t bound) {
        const std::uint64_t limit = -bound % bound; // 2^64 mod bound
        for (;;) {
            std::uint64_t x = next();
            if (x >= limit) return x % bound;
        }
    }

private:
    std::uint64_t state_;
};

std::vector<int> byId(const Bank& bank, std::vector<int> positions) {
    std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
        return bank.records[static_cast<std::size_t>(a)].id < bank.records[static_cast<std::size_t>(b)].id;
    });
    return positions;
}

std::vector<int> inScope(const Bank& bank, FiledScope scope) {
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(bank.questionCount()));
    for (int i = 1; i <= bank.questionCount(); ++i)
        if (scope.holds(QuestionFiling::of(bank.records[static_cast<std::size_t>(i)]))) out.push_back(i);
    return out;
}

} // namespace

std::vector<int> FiledLists::sequential(const Bank& bank, FiledScope scope) { return byId(bank, inScope(bank, scope)); }

std::vector<int> FiledLists::shuffled(const Bank& bank, FiledScope scope, std::uint64_t seed) {
    // Drawn from the sequential order, so that the result depends on the
    // questions and the seed, not on how the bank buffer happens to be sorted.
    std::vector<int> out = sequential(bank, scope);
    Draw draw(seed);
    for (std::size_t i = out.size(); i > 1; --i) std::swap(out[i - 1], out[draw.below(i)]);
    return out;
}

std::vector<int> FiledLists::favourites(const Bank& bank, const std::unordered_set<std::int32_t>& favouriteIds) {
    std::vector<int> out;
    if (favouriteIds.empty()) return out;
    for (int i = 1; i <= bank.questionCount(); ++i)
        if (favouriteIds.count(bank.records[static_cast<std::size_t>(i)].id)) out.push_back(i);
    return byId(bank, std::move(out));
}

} // namespace cxb
