// The percentage labels of the progress bars: which show, where, and that
// no two shown labels of a bar ever overlap.
#include <gtest/gtest.h>

#include "engine/ShareLabels.h"

using namespace cxb;

TEST(ShareLabels, TextsAreWholePercentagesOfTheSum) {
    const struct { std::vector<int> counts; std::vector<std::string> texts; } cases[] = {
        {{1, 1, 2}, {"25%", "25%", "50%"}},
        {{0, 10, 0}, {"0%", "100%", "0%"}},
        {{0, 0, 0}, {"0%", "0%", "0%"}},
        {{1, 998, 1}, {"0%", "100%", "0%"}},
        {{1, 2}, {"33%", "67%"}},
        {{-5, 5}, {"0%", "100%"}}, // a negative count counts as none
        {{}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.texts, ShareLabels::texts(c.counts)) << ::testing::PrintToString(c.counts);
}

TEST(ShareLabels, ALabelShowsOnlyWhereItsSegmentHoldsIt) {
    // A bar 400 long, labels 30 wide: a segment needs 34.
    const struct { const char* name; std::vector<int> counts; std::vector<bool> shown; } cases[] = {
        {"even thirds", {1, 1, 1}, {true, true, true}},
        {"tiny shares beside a large one", {1, 998, 1}, {false, true, false}},
        {"just long enough (34 of 400)", {34, 366}, {true, true}},
        {"just too short (33 of 400)", {33, 367}, {false, true}},
        {"nothing answered", {0, 0, 0}, {false, false, false}},
        {"an empty share", {0, 5, 5}, {false, true, true}},
    };
    for (const auto& c : cases) {
        const auto labels = ShareLabels::place(c.counts, std::vector<double>(c.counts.size(), 30), 400);
        ASSERT_EQ(labels.size(), c.counts.size()) << c.name;
        for (std::size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(c.shown[i], labels[i].shown) << c.name << " " << i;
    }
}

TEST(ShareLabels, ShownLabelsStayInTheirSegmentsAndNeverOverlap) {
    // Every split of 20 questions into three parts, on short and long bars.
    for (double length : {60.0, 150.0, 400.0})
        for (int a = 0; a <= 20; ++a)
            for (int b = 0; a + b <= 20; ++b) {
                const std::vector<int> counts{a, b, 20 - a - b};
                const std::vector<double> widths{24, 30, 36};
                const auto labels = ShareLabels::place(counts, widths, length);
                double previousEnd = -1e9;
                for (std::size_t i = 0; i < labels.size(); ++i) {
                    const auto& l = labels[i];
                    EXPECT_LE(l.start, l.end);
                    if (i > 0) {
                        EXPECT_DOUBLE_EQ(labels[i - 1].end, l.start);
                    }
                    if (!l.shown) continue;
                    const double left = l.centre - widths[i] / 2, right = l.centre + widths[i] / 2;
                    EXPECT_GE(left, l.start + ShareLabels::kMargin - 1e-9);
                    EXPECT_LE(right, l.end - ShareLabels::kMargin + 1e-9);
                    EXPECT_GT(left, previousEnd) << length << " " << a << "," << b;
                    previousEnd = right;
                }
                EXPECT_NEAR(labels.back().end, length, 1e-9);
            }
}

TEST(ShareLabels, ABarThinnerThanItsLabelsShowsNone) {
    const struct { double height, thickness; bool shown; } cases[] = {
        {14, 20, true}, {20, 20, true}, {21, 20, false}, {14, 0, true}, // no thickness known: width alone decides
    };
    for (const auto& c : cases) {
        const auto labels = ShareLabels::place({1, 1}, {30, 30}, 400, c.height, c.thickness);
        EXPECT_EQ(c.shown, labels[0].shown) << c.height << " in " << c.thickness;
        EXPECT_EQ(c.shown, labels[1].shown) << c.height << " in " << c.thickness;
    }
}
