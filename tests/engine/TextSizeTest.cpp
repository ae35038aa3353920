// 字号: the size of the question text, kept in a padding byte of the state
// file that the original format leaves free, so the file stays readable by
// it; read back from every byte a file may hold there.
#include <gtest/gtest.h>

#include "data/StateFile.h"
#include "engine/SettingsModel.h"
#include "engine/TextSize.h"
#include "support/TempDir.h"

using namespace cxb;

TEST(TextSize, EveryStoredByteReadsAsASize) {
    struct Case { std::uint8_t byte; TextSize::Size size; double factor; };
    const Case cases[] = {
        {0, TextSize::Standard, 1.0},  // every file written before the setting
        {1, TextSize::Large, 1.25},    {2, TextSize::ExtraLarge, 1.5},
        {3, TextSize::Standard, 1.0},  {0x7F, TextSize::Standard, 1.0},
        {0x80, TextSize::Standard, 1.0}, {0xFF, TextSize::Standard, 1.0},
    };
    auto state = StateFile::newRecord();
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        state->textSize = c.byte;
        EXPECT_EQ(TextSize::of(*state), c.size);
        EXPECT_EQ(TextSize::factor(TextSize::of(*state)), c.factor);
    }
    for (int index : {-1, 3, 100}) EXPECT_EQ(TextSize::fromIndex(index), TextSize::Standard);
    EXPECT_EQ(TextSize::names()[0], std::string("标准"));
    EXPECT_EQ(TextSize::names()[2], std::string("特大"));
}

TEST(TextSize, KeptInThePaddingByteAndNowhereElse) {
    test::TempDir dir;
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    const std::string file = dir.file("sys.dat");
    ASSERT_EQ(StateFile::saveState(*state, file), 0);
    const std::string before = dir.read("sys.dat");

    TextSize::store(*state, TextSize::ExtraLarge);
    ASSERT_EQ(StateFile::saveState(*state, file), 0);
    const std::string after = dir.read("sys.dat");
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        if (i != 2472781) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    EXPECT_EQ(static_cast<unsigned char>(after[2472781]), 2);
    // The bank path, the skin names and the counts around it keep their bytes.
    EXPECT_EQ(after[2472780], '\0');
    EXPECT_EQ(after[2472782], '\0');

    auto loaded = StateFile::newRecord();
    ASSERT_FALSE(StateFile::loadState(*loaded, file).created);
    EXPECT_EQ(TextSize::of(*loaded), TextSize::ExtraLarge);
}

TEST(TextSize, TheSettingsDialogShowsAndStoresIt) {
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    EXPECT_EQ(SettingsModel::openingValues(*state).textSize, 0);
    TextSize::store(*state, TextSize::Large);
    EXPECT_EQ(SettingsModel::openingValues(*state).textSize, 1);
}
