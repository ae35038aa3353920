#include <gtest/gtest.h>

#include <string>

#include "data/Gbk.h"
#include "data/StoredPath.h"

using namespace cxb;

namespace {

std::string g(const char* utf8) { return *gbk::fromUtf8(utf8); }

} // namespace

TEST(StoredPath, NativePathsUseSlashesAndUtf8) {
    EXPECT_EQ(toNativePath("bankdata\\sys.dat"), "bankdata/sys.dat");
    EXPECT_EQ(toNativePath(g("bankdata\\题库\\小车.tk")), "bankdata/题库/小车.tk");
    // 昞 is 0x95 0x5C in GBK: its trail byte is not a folder separator.
    ASSERT_EQ(g("昞"), "\x95\x5C");
    EXPECT_EQ(toNativePath(g("pics\\昞.png")), "pics/昞.png");
    EXPECT_EQ(toNativePath(g("乗誠\\盶")), "乗誠/盶");
}

TEST(StoredPath, StoredPathsUseBackslashesAndGbk) {
    bool ok = false;
    EXPECT_EQ(toStoredPath("bankdata/题库/小车.tk", &ok), g("bankdata\\题库\\小车.tk"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(toNativePath(toStoredPath("a/昞/b.tk")), "a/昞/b.tk");
    toStoredPath("bankdata/😀.tk", &ok);
    EXPECT_FALSE(ok);
}

TEST(StoredPath, PictureResolution) {
    struct Case {
        const char* name;
        std::string stored; // GBK
        bool extraBank;
        std::string expectName;
        std::string expectStored;
        std::string expectNative; // UTF-8
    };
    const Case cases[] = {
        {"plain name", "12.jpg", false, "12.jpg", "bankdata\\12.jpg", "bankdata/12.jpg"},
        {"blanks removed", "  a b.png ", false, "ab.png", "bankdata\\ab.png", "bankdata/ab.png"},
        {"empty", "", false, "", "", ""},
        {"only blanks", "     ", false, "", "", ""},
        {"only blanks, extra bank", "   ", true, "", "", ""},
        {"sub-folder of the main bank", "pics\\12.jpg", false, "pics\\12.jpg", "bankdata\\pics\\12.jpg",
         "bankdata/pics/12.jpg"},
        {"extra bank with its own path", "pics\\12.jpg", true, "pics\\12.jpg", "pics\\12.jpg", "pics/12.jpg"},
        {"extra bank, own path with blanks", " my pics\\1 2.jpg", true, "mypics\\12.jpg", "mypics\\12.jpg",
         "mypics/12.jpg"},
        {"extra bank without a backslash", "12.jpg", true, "12.jpg", "bankdata\\12.jpg", "bankdata/12.jpg"},
        {"Chinese name", g("标志 牌.png"), false, g("标志牌.png"), g("bankdata\\标志牌.png"), "bankdata/标志牌.png"},
        {"0x5C trail byte is no backslash", g("昞.png"), true, g("昞.png"), g("bankdata\\昞.png"),
         "bankdata/昞.png"},
        {"0x5C trail bytes only", g("乗誠盶.png"), true, g("乗誠盶.png"), g("bankdata\\乗誠盶.png"),
         "bankdata/乗誠盶.png"},
        {"0x5C trail byte and a real backslash", g("昞\\a.png"), true, g("昞\\a.png"), g("昞\\a.png"), "昞/a.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureRef ref = resolvePicture(c.stored, c.extraBank);
        EXPECT_EQ(ref.name, c.expectName);
        EXPECT_EQ(ref.empty(), c.expectName.empty());
        EXPECT_EQ(ref.storedPath, c.expectStored);
        EXPECT_EQ(ref.nativePath, c.expectNative);
    }
}

TEST(StoredPath, UndecodableNamesStillResolve) {
    PictureRef ref = resolvePicture("\xFF\xFE.png", true);
    EXPECT_EQ(ref.name, "\xFF\xFE.png");
    EXPECT_EQ(ref.storedPath, "bankdata\\\xFF\xFE.png");
    EXPECT_EQ(ref.nativePath, "bankdata/\xEF\xBF\xBD\xEF\xBF\xBD.png");
}

// GBK lead bytes 0xA1..0xA7 and 0xFE with a 0x5C trail byte are characters of
// the user-defined area; they have no Unicode form here but are still one
// character each, so their 0x5C is no folder separator.
TEST(StoredPath, TrailByteOfAnUndecodableCharacterIsNoSeparator) {
    for (const char* pair : {"\xA1\x5C", "\xA7\x5C", "\xFE\x5C"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(pair)));
        const std::string name = std::string(pair) + "x.png";
        PictureRef ref = resolvePicture(name, true);
        EXPECT_EQ(ref.storedPath, "bankdata\\" + name);
        EXPECT_EQ(ref.nativePath.rfind('/'), std::string("bankdata").size());

        std::string native = toNativePath("pics\\" + name);
        EXPECT_EQ(native.substr(0, 5), "pics/");
        EXPECT_EQ(native.find('/', 5), std::string::npos) << native;

        PictureRef own = resolvePicture("pics\\" + name, true);
        EXPECT_EQ(own.storedPath, "pics\\" + name);
    }
}
