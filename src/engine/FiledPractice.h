#pragma once
#include <cstdint>
#include <vector>

#include "engine/ChapterRows.h"
#include "engine/ChosenPractice.h"
#include "engine/FavouriteMarks.h"
#include "engine/Session.h"

namespace cxb {

// The commands of the lists drawn by chapter and topic, at random and from
// the stars: 章节练习 / 专项练习 (a row of the chapter window), 随机练习
// and 我的收藏. Each hands its builder to ChosenPractice; the random ones
// take their seed from the caller, so the same seed draws the same order.
class FiledPractice {
public:
    static constexpr const char* kRandomTitle = "随机练习";
    static constexpr const char* kFavouritesTitle = "我的收藏";
    static constexpr const char* kNoFavourites = "还没有收藏的题目：在题目旁点 ☆ 收藏（Ctrl+D）即可收藏。";

    FiledPractice(Session& s, ChosenPractice& chosen, const FavouriteMarks& stars);

    // The rows of the chapter window for the loaded bank, with its counters now.
    std::vector<ChapterRow> rows() const;

    // A row of the chapter window chosen: its questions in sequential order,
    // or at random from `seed`. 0 (nothing started) for a row without questions.
    int chooseRow(const ChapterRow& row, bool random, std::uint64_t seed);
    // 随机练习: the whole bank in an order drawn from `seed`. 重新出题 draws
    // the next order of the same sequence of seeds.
    int random(std::uint64_t seed);
    // 我的收藏: the starred questions the bank holds, in sequential order;
    // with none, the learner is told how to star one and the list on show stays.
    int favourites();

private:
    int startRandom(const std::string& title, int modeCode, FiledScope scope, std::uint64_t seed);

    Session& s_;
    ChosenPractice& chosen_;
    const FavouriteMarks& stars_;
};

} // namespace cxb
