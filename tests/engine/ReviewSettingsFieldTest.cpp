// 智能复习's settings in the state file: defaults from a file that never set
// them, a round trip through the real file, and broken values.
#include <gtest/gtest.h>

#include "data/StateFile.h"
#include "engine/ReviewSettingsField.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

TEST(ReviewSettingsField, ZeroBytesAreTheDefaultsAndBadValuesToo) {
    auto state = StateFile::newRecord();
    struct Case { std::int32_t retention, newPerDay; double r; int n; } cases[] = {
        {0, 0, 0.9, 20},       // never set
        {850, 1, 0.85, 0},     // no new questions
        {499, 2001, 0.9, 20},  // out of range
        {-5, -1, 0.9, 20},
        {990, 51, 0.99, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.retention);
        state->reserved1 = c.retention;
        state->reserved2 = c.newPerDay;
        ReviewSettings s = ReviewSettingsField::read(*state);
        EXPECT_DOUBLE_EQ(c.r, s.retention);
        EXPECT_EQ(c.n, s.newPerDay);
    }
}

TEST(ReviewSettingsField, SurvivesTheStateFileAtItsOffsets) {
    test::TempDir dir;
    auto state = StateFile::newRecord();
    ReviewSettingsField::write(*state, ReviewSettings{0.8, 35});
    ASSERT_EQ(0, StateFile::saveState(*state, dir.file("sys.dat")));
    const std::string bytes = dir.read("sys.dat");
    ASSERT_GE(bytes.size(), 2472072u);
    // 800 and 36, little-endian, in the two reserved words.
    EXPECT_EQ(std::string("\x20\x03\x00\x00\x24\x00\x00\x00", 8), bytes.substr(2472064, 8));
    auto back = StateFile::newRecord();
    StateFile::parse(bytes, *back);
    ReviewSettings s = ReviewSettingsField::read(*back);
    EXPECT_DOUBLE_EQ(0.8, s.retention);
    EXPECT_EQ(35, s.newPerDay);
}

} // namespace
