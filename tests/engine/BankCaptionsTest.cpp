// The built-in banks' captions with the sizes their files really have.
#include <gtest/gtest.h>

#include <cstring>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "engine/BankCaptions.h"
#include "support/TempDir.h"

using namespace cxb;

TEST(BankCaptions, ReadTheCountFromTheFile) {
    test::TempDir dir;
    ASSERT_EQ("", BankFile::store(BankGenerator::make(725), dir.file("car.tk")));
    ASSERT_EQ("", BankFile::store(BankGenerator::make(0), dir.file("empty.tk")));
    std::string cut = BankFile::serialize(BankGenerator::make(30));
    dir.write("cut.tk", cut.substr(0, cut.size() - 1));
    std::string huge = cut;
    const std::int32_t tooMany = 2000, negative = -1;
    std::memcpy(huge.data(), &tooMany, 4);
    dir.write("huge.tk", huge);
    std::memcpy(huge.data(), &negative, 4);
    dir.write("negative.tk", huge);
    dir.write("tiny.tk", "ab");
    dir.mkdir("folder.tk");

    EXPECT_EQ(BankCaptions::questionCount(dir.file("car.tk")), 725);
    EXPECT_EQ(BankCaptions::questionCount(dir.file("empty.tk")), 0);
    EXPECT_EQ(BankCaptions::questionCount(dir.file("missing.tk")), std::nullopt);
    for (const char* bad : {"cut.tk", "huge.tk", "negative.tk", "tiny.tk", "folder.tk"})
        EXPECT_EQ(BankCaptions::questionCount(dir.file(bad)), -1) << bad;
}

TEST(BankCaptions, KeepTheirWordingAroundTheCount) {
    // With the promised sizes they read exactly as they always did.
    EXPECT_EQ(BankCaptions::caption(1, 725), "小车类：725题 (准驾车型：C1、C2、C3、C4、C5)");
    EXPECT_EQ(BankCaptions::caption(2, 782), "客车类：782题(准驾车型：A1、A3、B1、N、P)");
    EXPECT_EQ(BankCaptions::caption(3, 793), "货车类：793题(准驾车型：A2、B2)");
    EXPECT_EQ(BankCaptions::caption(1, 746), "小车类：746题 (准驾车型：C1、C2、C3、C4、C5)");
    EXPECT_EQ(BankCaptions::caption(2, std::nullopt), "客车类：未找到题库文件(准驾车型：A1、A3、B1、N、P)");
    EXPECT_EQ(BankCaptions::caption(3, -1), "货车类：题库文件无法读取(准驾车型：A2、B2)");
    EXPECT_EQ(BankCaptions::caption(4, 10), "");
    EXPECT_EQ(BankCaptions::storedPath(1), "bankdata\\\xD0\xA1\xB3\xB5.tk");
}
