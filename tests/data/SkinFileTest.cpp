#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/Gbk.h"
#include "data/SkinFile.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;

namespace {

std::unique_ptr<Strfile> parsed(std::string_view bytes) {
    auto table = std::make_unique<Strfile>();
    SkinFile::parse(bytes, *table);
    return table;
}

std::string crlf(std::string_view lf) {
    std::string out;
    for (char c : lf) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

} // namespace

TEST(SkinFile, ReadsKeyAndQuotedValue) {
    auto t = parsed("ima_sunxu0=\"skin\\ima_sunxu0.png\"\n");
    EXPECT_EQ(t->pairCount, 1);
    EXPECT_EQ(t->pairs[1].key, "ima_sunxu0");
    EXPECT_EQ(t->pairs[1].value, "skin\\ima_sunxu0.png");
    EXPECT_EQ(SkinFile::lookup(*t, "ima_sunxu0"), "skin\\ima_sunxu0.png");
    EXPECT_EQ(lookupSkin(*t, "ima_sunxu0"), "skin\\ima_sunxu0.png");
}

TEST(SkinFile, LineRules) {
    struct Lookup {
        std::string key;
        std::string value;
    };
    struct Case {
        const char* name;
        std::string file;
        int pairCount;
        std::vector<Lookup> lookups;
    };
    const std::string gbkValue = *gbk::fromUtf8("皮肤\\顺序练习.png");
    const Case cases[] = {
        {"several keys", "a=\"1.png\"\nb=\"2.png\"\nc=\"3.png\"\n", 3,
         {{"a", "1.png"}, {"b", "2.png"}, {"c", "3.png"}}},
        {"same key twice keeps one pair with the second value", "a=\"1\"\nb=\"2\"\na=\"3\"\n", 2,
         {{"a", "3"}, {"b", "2"}}},
        {"value without quotes loses its first character", "a=value.png\n", 1, {{"a", "alue.png"}}},
        {"empty quoted value", "a=\"\"\n", 1, {{"a", ""}}},
        {"comment line adds no pair", "// the skin\na=\"1\"\n//b=\"2\"\n", 1, {{"a", "1"}, {"b", "null"}}},
        {"keys are case-sensitive", "Key=\"1\"\nkey=\"2\"\n", 2, {{"Key", "1"}, {"key", "2"}, {"KEY", "null"}}},
        {"unknown key", "a=\"1\"\n", 1, {{"zzz", "null"}, {"", ""}}},
        {"slash ends a value", "a=\"skin/x.png\"\n", 1, {{"a", "skin"}}},
        {"slash in a key ends the line", "a/b=\"1\"\n", 1, {{"a", ""}, {"a/b", "null"}}},
        {"line without = keeps its line break in the key", "lonely\nb=\"1\"\n", 2,
         {{"lonely\n", ""}, {"lonely", "null"}, {"b", "1"}}},
        {"last line without a line break", "a=\"1\"\nb=\"2\"", 2, {{"a", "1"}, {"b", "2"}}},
        {"last line without closing quote or line break", "a=\"1", 1, {{"a", "1"}}},
        {"last line without = and line break", "a=\"1\"\nlonely", 2, {{"lonely", ""}, {"a", "1"}}},
        {"stored null makes the key come again; the first wins", "a=\"null\"\na=\"x\"\n", 2, {{"a", "null"}}},
        {"GBK values are kept as bytes", "ima_sunxu1=\"" + gbkValue + "\"\n", 1, {{"ima_sunxu1", gbkValue}}},
        {"text after the closing quote is ignored", "a=\"1\" trailing\n", 1, {{"a", "1"}}},
        {"blank before = belongs to the key, blank after it takes the quote's place", "a = \"1\"\n", 1,
         {{"a ", ""}, {"a", "null"}}},
        {"blanks after a quoted value", "a=\"1 2\"  \n", 1, {{"a", "1 2"}}},
        {"empty file", "", 0, {{"a", "null"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto t = parsed(c.file);
        EXPECT_EQ(t->pairCount, c.pairCount);
        for (const auto& l : c.lookups) EXPECT_EQ(SkinFile::lookup(*t, l.key), l.value) << "key " << l.key;
    }
}

TEST(SkinFile, CommentLineTouchesOnlyPairZero) {
    auto t = parsed("a=\"1\"\n// comment\nb=\"2\"\n");
    EXPECT_EQ(t->pairCount, 2);
    EXPECT_EQ(t->pairs[0].key, "");
    EXPECT_EQ(t->pairs[1].key, "a");
    EXPECT_EQ(t->pairs[1].value, "1");
    EXPECT_EQ(t->pairs[2].key, "b");
    EXPECT_EQ(t->pairs[2].value, "2");
}

TEST(SkinFile, LongLinesAreReadInPieces) {
    // key="value" is 4 bytes longer than its value; with the line break a
    // piece holds at most 199 bytes.
    {
        SCOPED_TRACE("198 bytes and a line break: one piece");
        std::string v(194, 'v');
        auto t = parsed("k=\"" + v + "\"\nz=\"1\"\n");
        EXPECT_EQ(t->pairCount, 2);
        EXPECT_EQ(SkinFile::lookup(*t, "k"), v);
        EXPECT_EQ(SkinFile::lookup(*t, "\n"), "null");
    }
    {
        SCOPED_TRACE("199 bytes: the line break is read on its own");
        std::string v(195, 'v');
        auto t = parsed("k=\"" + v + "\"\nz=\"1\"\n");
        EXPECT_EQ(t->pairCount, 3);
        EXPECT_EQ(SkinFile::lookup(*t, "k"), v);
        EXPECT_EQ(SkinFile::lookup(*t, "\n"), "");
        EXPECT_EQ(SkinFile::lookup(*t, "z"), "1");
    }
    {
        SCOPED_TRACE("a value running past the piece is cut");
        std::string v(300, 'v');
        auto t = parsed("k=\"" + v + "\"\nz=\"1\"\n");
        EXPECT_EQ(SkinFile::lookup(*t, "k"), std::string(196, 'v'));
        EXPECT_EQ(SkinFile::lookup(*t, "z"), "1");
        // The rest of the line (104 v, the quote, the line break) is a key of its own.
        EXPECT_EQ(SkinFile::lookup(*t, std::string(104, 'v') + "\"\n"), "");
        EXPECT_EQ(t->pairCount, 3);
    }
    {
        SCOPED_TRACE("a pair hidden in the second piece is found");
        auto t = parsed(std::string(199, 'x') + "b=\"2\"\n");
        EXPECT_EQ(t->pairCount, 2);
        EXPECT_EQ(SkinFile::lookup(*t, std::string(199, 'x')), "");
        EXPECT_EQ(SkinFile::lookup(*t, "b"), "2");
    }
    {
        SCOPED_TRACE("three pieces");
        auto t = parsed(std::string(199, 'x') + std::string(199, 'y') + "c=\"3\"");
        EXPECT_EQ(t->pairCount, 3);
        EXPECT_EQ(SkinFile::lookup(*t, std::string(199, 'y')), "");
        EXPECT_EQ(SkinFile::lookup(*t, "c"), "3");
    }
}

TEST(SkinFile, CrlfFilesReadLikeLfFiles) {
    const std::string lf = "// skin of the trainer\n"
                           "ima_sunxu0=\"skin\\ima_sunxu0.png\"\n"
                           "ima_sunxu1=\"skin\\ima_sunxu1.png\"\n"
                           "\n"
                           "noequals\n"
                           "bare=value\n"
                           "k=\"" + std::string(195, 'v') + "\"\n"
                           "long=\"" + std::string(300, 'w') + "\"\n"
                           "ima_sunxu0=\"skin\\other.png\"\n"
                           "last=\"x\"";
    auto a = parsed(lf);
    auto b = parsed(crlf(lf));
    ASSERT_EQ(a->pairCount, b->pairCount);
    EXPECT_GE(a->pairCount, 8);
    for (int p = 0; p <= a->pairCount; ++p) {
        EXPECT_EQ(a->pairs[p].key, b->pairs[p].key) << p;
        EXPECT_EQ(a->pairs[p].value, b->pairs[p].value) << p;
    }
    EXPECT_EQ(SkinFile::lookup(*b, "ima_sunxu0"), "skin\\other.png");
    EXPECT_EQ(SkinFile::lookup(*b, "noequals\n"), "");
    EXPECT_EQ(SkinFile::lookup(*b, "last"), "x");
}

TEST(SkinFile, HoldsAtMost99Pairs) {
    std::string file;
    for (int i = 1; i <= 120; ++i) file += "k" + std::to_string(i) + "=\"v" + std::to_string(i) + "\"\n";
    file += "k5=\"changed\"\n";
    auto t = parsed(file);
    EXPECT_EQ(t->pairCount, 99);
    EXPECT_EQ(SkinFile::lookup(*t, "k1"), "v1");
    EXPECT_EQ(SkinFile::lookup(*t, "k99"), "v99");
    EXPECT_EQ(SkinFile::lookup(*t, "k100"), "null");
    EXPECT_EQ(SkinFile::lookup(*t, "k120"), "null");
    EXPECT_EQ(SkinFile::lookup(*t, "k5"), "changed"); // a full table still takes new values
}

TEST(SkinFile, OddBytesNeverBreakTheTable) {
    std::vector<std::string> inputs = {
        std::string("\0\0\0", 3),
        std::string("a\0=\"1\"\n", 7),
        "=",
        "==",
        "=\"",
        "\"",
        "a=",
        "a=\"",
        "/",
        "a=/",
        "//",
        "\n\n\n",
        "\r",
        "\r\r\n\r",
        "\r\n",
        std::string(1000, '='),
        std::string(1000, '"'),
        std::string(1000, '\n'),
        std::string(1000, '/'),
        std::string(5000, '\xFF'),
        "\xFF\xFE=\"\xFF\xFE\"\n",
    };
    std::mt19937 rng(12345);
    for (int n = 0; n < 40; ++n) {
        std::string junk(static_cast<std::size_t>(rng() % 3000), '\0');
        for (char& ch : junk) ch = static_cast<char>(rng() & 0xFF);
        inputs.push_back(junk);
    }
    // Many distinct short lines: fills the table from junk.
    std::string lines;
    for (int n = 0; n < 500; ++n) lines += std::string(1, static_cast<char>(rng() & 0xFF)) + "=\"x\"\n";
    inputs.push_back(lines);

    for (std::size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE("input " + std::to_string(i));
        auto t = parsed(inputs[i]);
        EXPECT_GE(t->pairCount, 0);
        EXPECT_LE(t->pairCount, 99);
        EXPECT_EQ(SkinFile::lookup(*t, "ima_sunxu0"), "null");
    }
}

TEST(SkinFile, LoadsFromAFile) {
    TempDir dir;
    dir.write("skin.ini", "ima_kaoshi0=\"skin\\kaoshi0.png\"\r\nima_kaoshi1=\"skin\\kaoshi1.png\"\r\n");
    Strfile table;
    SkinFile::load(table, dir.file("skin.ini"));
    EXPECT_EQ(table.pairCount, 2);
    EXPECT_EQ(SkinFile::lookup(table, "ima_kaoshi1"), "skin\\kaoshi1.png");

    Strfile none;
    SkinFile::load(none, dir.file("missing.ini"));
    EXPECT_EQ(none.pairCount, 0);
    EXPECT_EQ(SkinFile::lookup(none, "ima_kaoshi1"), "null");

    dir.mkdir("folder.ini");
    Strfile folder;
    SkinFile::load(folder, dir.file("folder.ini"));
    EXPECT_EQ(folder.pairCount, 0);
}
