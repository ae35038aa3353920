#include "engine/FiledPractice.h"

#include "engine/ChosenModes.h"
#include "engine/FiledLists.h"
#include "engine/FilingFigures.h"

namespace cxb {

FiledPractice::FiledPractice(Session& s, ChosenPractice& chosen, const FavouriteMarks& stars)
    : s_(s), chosen_(chosen), stars_(stars) {}

std::vector<ChapterRow> FiledPractice::rows() const { return ChapterRows::of(FilingFigures::of(*s_.bank)); }

int FiledPractice::chooseRow(const ChapterRow& row, bool random, std::uint64_t seed) {
    if (!row.choosable()) return 0;
    if (random) return startRandom(row.name, ChosenModes::kRandom, row.scope, seed);
    const FiledScope scope = row.scope;
    return chosen_.start(row.name, ChosenModes::kChapter,
                         [this, scope] { return FiledLists::sequential(*s_.bank, scope); });
}

int FiledPractice::random(std::uint64_t seed) {
    return startRandom(kRandomTitle, ChosenModes::kRandom, FiledScope::all(), seed);
}

int FiledPractice::startRandom(const std::string& title, int modeCode, FiledScope scope, std::uint64_t seed) {
    // Each build draws with the next seed: 重新出题 gives a new order, and a
    // test that knows the first seed knows every order.
    return chosen_.start(title, modeCode, [this, scope, seed, draws = std::uint64_t{0}]() mutable {
        return FiledLists::shuffled(*s_.bank, scope, seed + draws++);
    });
}

int FiledPractice::favourites() {
    if (FiledLists::favourites(*s_.bank, stars_.ids()).empty()) {
        s_.message(kNoFavourites);
        return 0;
    }
    return chosen_.start(kFavouritesTitle, ChosenModes::kFavourites,
                         [this] { return FiledLists::favourites(*s_.bank, stars_.ids()); });
}

} // namespace cxb
