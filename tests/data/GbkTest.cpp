#include <gtest/gtest.h>

#include "data/FixedField.h"
#include "data/Gbk.h"

using namespace cxb;

TEST(Gbk, RoundTripsCommonAndRareCharacters) {
    for (const char* text : {"小车", "驰学宝10.1", "错误代码:1,或者请以管理员身份运行；", "鑫淼焱垚犇骉", "ＡＢＣ　全角",
                             "€", "〇㈠", "路口\r\n第二行"}) {
        auto g = gbk::fromUtf8(text);
        ASSERT_TRUE(g) << text;
        auto back = gbk::toUtf8(*g);
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(*back, text);
    }
}

TEST(Gbk, KnownBytes) {
    EXPECT_EQ(*gbk::fromUtf8("小车"), "\xD0\xA1\xB3\xB5");
    EXPECT_EQ(*gbk::fromUtf8("€"), "\x80");
}

TEST(Gbk, InvalidInputIsReportedOrReplaced) {
    EXPECT_FALSE(gbk::toUtf8("\xFF\xFF"));
    EXPECT_FALSE(gbk::toUtf8("\x81")); // lead byte without its trail
    EXPECT_EQ(gbk::toUtf8Lossy("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_FALSE(gbk::fromUtf8("😀"));
    EXPECT_EQ(gbk::fromUtf8Lossy("a😀b"), "a?b");
}

TEST(FixedField, ReadStopsAtTerminatorOrWidth) {
    char field[4] = {'a', 'b', 0, 'z'};
    EXPECT_EQ(readField(field), "ab");
    char full[3] = {'x', 'y', 'z'};
    EXPECT_EQ(readField(full), "xyz");
}

TEST(FixedField, WriteCutsAtCharacterBoundaryAndKeepsTail) {
    char field[5];
    std::memset(field, '#', sizeof field);
    // "a小车" is 5 bytes; 4 fit before the terminator, which would split 车,
    // so only "a小" is written.
    EXPECT_FALSE(writeField(field, std::string("a") + *gbk::fromUtf8("小车")));
    EXPECT_EQ(readField(field), std::string("a") + *gbk::fromUtf8("小"));
    EXPECT_EQ(field[3], '\0');
    EXPECT_EQ(field[4], '#'); // bytes after the terminator are left alone
    EXPECT_TRUE(writeField(field, "four"));
    EXPECT_EQ(readField(field), "four");
    EXPECT_FALSE(writeField(field, "hello"));
    EXPECT_EQ(readField(field), "hell");
}
