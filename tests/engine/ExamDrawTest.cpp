// The mock exam's paper: the generator, the slice-per-slot draw and the
// paper it gives the list, with the start display of the picker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "engine/ExamDraw.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

ExamDraw fixedSeed(std::uint32_t seed) {
    return ExamDraw([seed] { return seed; });
}

TEST(ExamGenerator, IsTheClassic32BitCongruentialOne) {
    ExamDraw g = fixedSeed(0);
    g.reseed(1);
    EXPECT_EQ(3u, g.random(100));                // seed 134775814
    EXPECT_EQ(624u, g.random(725));              // seed 3698175007
    EXPECT_EQ(870078619u, g.random(0xFFFFFFFFu)); // seed 870078620
    EXPECT_EQ(1u, g.random(7));                  // seed 1172187917

    g.reseed(0);
    EXPECT_EQ(0u, g.random(1000)); // seed 1
    EXPECT_EQ(31u, g.random(1000));
    g.reseed(0xFFFFFFFFu); // the product wraps at 2^32
    EXPECT_EQ(968u, g.random(1000));
}

const std::uint32_t kSeeds[] = {0u, 1u, 2u, 12345u, 0x7FFFFFFFu, 0x80000000u, 0xDEADBEEFu, 0xFFFFFFFFu};

TEST(ExamDrawSlices, SevenHundredTwentyFiveByOneHundred) {
    for (std::uint32_t seed : kSeeds) {
        SCOPED_TRACE(seed);
        ExamDraw draw = fixedSeed(seed);
        std::vector<int> k = draw.draw(725, 100);
        ASSERT_EQ(101u, k.size());
        EXPECT_GE(k[1], 1);
        EXPECT_LE(k[1], 7);
        EXPECT_GE(k[100], 718);
        EXPECT_LE(k[100], 725);
        for (int s = 1; s <= 100; ++s) {
            // Slot s lies in its own slice of 7.25 records.
            EXPECT_LE(std::abs(k[s] - s * 7.25), 7.25 + 1) << "slot " << s;
            if (s > 1) {
                EXPECT_GT(k[s], k[s - 1]) << "slot " << s; // never twice, never back
            }
        }
    }
}

TEST(ExamDrawSlices, EverySliceValueIsReachable) {
    // Over many seeds slot 1 takes each of records 1..7 and slot 100 each of
    // 718..725: the whole slice is drawn from, record 0 never.
    std::uint32_t counter = 0;
    ExamDraw draw([&counter] { return ++counter * 2654435761u; });
    std::set<int> first, last;
    for (int i = 0; i < 500; ++i) {
        std::vector<int> k = draw.draw(725, 100);
        first.insert(k[1]);
        last.insert(k[100]);
    }
    EXPECT_EQ((std::set<int>{1, 2, 3, 4, 5, 6, 7}), first);
    EXPECT_EQ((std::set<int>{718, 719, 720, 721, 722, 723, 724, 725}), last);
}

TEST(ExamDrawSlices, ReseedsOncePerSlotNotPerRetry) {
    for (auto [bank, n] : {std::pair{725, 100}, std::pair{50, 50}, std::pair{3, 3}}) {
        int calls = 0;
        ExamDraw draw([&calls] { return static_cast<std::uint32_t>(++calls) * 40503u; });
        draw.draw(bank, n);
        EXPECT_EQ(n, calls) << bank << "/" << n;
    }
}

TEST(ExamDrawSlices, ACountEqualToTheBankTakesEveryRecordInOrder) {
    for (int bank : {1, 2, 3, 10, 150, 725}) {
        for (std::uint32_t seed : kSeeds) {
            ExamDraw draw = fixedSeed(seed);
            std::vector<int> k = draw.draw(bank, bank);
            for (int s = 1; s <= bank; ++s) ASSERT_EQ(s, k[s]) << "bank " << bank << " seed " << seed;
        }
    }
}

TEST(ExamDrawSlices, NothingToDraw) {
    ExamDraw draw = fixedSeed(5);
    EXPECT_EQ(1u, draw.draw(725, 0).size());
    EXPECT_EQ(1u, draw.draw(0, 0).size());
}

class ExamPaper : public TrainerTest {};

TEST_F(ExamPaper, DrawsFromTheBuffersCurrentOrder) {
    Bank bank = plainBank(725);
    // Give the hard-question sort something to do, so the buffer's order is
    // no longer the file's.
    for (int i = 1; i <= 725; ++i) bank.records[i].wrongCount = (i * 37) % 11;
    start(bank);
    t().modes.LianXKSClick();
    const std::vector<int> order = bankIds();
    ASSERT_NE(order[0], 1);
    for (std::uint32_t seed : kSeeds) {
        SCOPED_TRACE(seed);
        s().examDraw = fixedSeed(seed);
        t().modes.KaoShiClick();
        ASSERT_EQ(100, s().listCount);
        EXPECT_EQ(order, bankIds()); // the exam does not sort
        std::vector<int> positions;
        for (int id : listIds())
            positions.push_back(static_cast<int>(std::find(order.begin(), order.end(), id) - order.begin()) + 1);
        EXPECT_GE(positions.front(), 1);
        EXPECT_LE(positions.front(), 7);
        EXPECT_GE(positions.back(), 718);
        EXPECT_LE(positions.back(), 725);
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
        EXPECT_EQ(positions.end(), std::adjacent_find(positions.begin(), positions.end()));
        // Each entry is a fresh copy of its record.
        for (int i = 1; i <= 100; ++i) {
            const ListEntry& e = entry(i);
            ASSERT_EQ(recordOf(e.id).wrongCount, e.wrongCount);
            ASSERT_EQ(0, e.userAnswer);
            ASSERT_FALSE(e.counted);
        }
    }
}

TEST_F(ExamPaper, ACountAtOrAboveTheBankTakesEveryQuestionOnceInBufferOrder) {
    Bank bank = plainBank(150);
    for (int i = 1; i <= 150; ++i) bank.records[i].answerCount = (i * 7) % 5;
    for (int examCount : {150, 151, 400}) {
        SCOPED_TRACE(examCount);
        start(bank, [examCount](Sfile& st) { st.examCount = examCount; });
        const std::vector<int> order = bankIds(); // as beginner practice sorted it
        for (std::uint32_t seed : {3u, 0xCAFEu}) {
            s().examDraw = fixedSeed(seed);
            t().modes.KaoShiClick();
            EXPECT_EQ(order, listIds());
        }
    }
}

TEST_F(ExamPaper, APaperNeverOutgrowsAHistoryEntry) {
    start(plainBank(725), [](Sfile& st) { st.examCount = 500; });
    t().modes.KaoShiClick();
    EXPECT_EQ(199, s().listCount);
    std::vector<int> ids = listIds();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids.end(), std::adjacent_find(ids.begin(), ids.end()));
}

TEST_F(ExamPaper, StartDisplayMarksTheDrawnQuestionsUntilTheTimerEndsIt) {
    start(plainBank(40), [](Sfile& st) { st.examCount = 5; });
    s().examDraw = fixedSeed(99);
    t().modes.KaoShiClick();
    const std::vector<int> ids = listIds();
    const std::set<int> drawn(ids.begin(), ids.end());
    for (int k = 1; k <= 40; ++k)
        EXPECT_EQ(drawn.count(k) ? PickerCanvas::kDrawn : PickerCanvas::kBank, s().picker.style(k)) << k;
    EXPECT_EQ(1300, win.timers[Tmr::tmrKAOSHI]);
    EXPECT_EQ(4, win.background);
    EXPECT_EQ(1, s().current);

    t().nav.tmrKAOSHITimer();
    EXPECT_FALSE(win.running(Tmr::tmrKAOSHI));
    EXPECT_EQ(PickerCanvas::kCurrent, s().picker.style(1));
    for (int k = 2; k <= 5; ++k) EXPECT_EQ(PickerCanvas::kPlain, s().picker.style(k));
    EXPECT_EQ(PickerCanvas::kBlank, s().picker.style(6));
    EXPECT_EQ("1/5", win.lastView().label3);
}

} // namespace
