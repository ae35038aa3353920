// The banks, pictures and skin that ship in the runnable folder.
#include <QImage>
#include <QImageReader>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <cstring>
#include <vector>
#include <set>

#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/FileBytes.h"
#include "data/Gbk.h"
#include "data/SkinFile.h"
#include "data/StoredPath.h"
#include "engine/BankEdition.h"
#include "engine/ExamDraw.h"
#include "engine/SkinButtons.h"

using namespace cxb;

namespace {

const std::string kApp = CXB_APP_DIR;

bool loads(const std::string& nativePath) { return !QImage(QString::fromStdString(nativePath)).isNull(); }

bool answerFits(int type, int answer) {
    switch (type) {
    case 1: return answer >= 1 && answer <= 4;
    case 2: return answer == 5 || answer == 6;
    case 3: return answer > 0 && (answer & ~0x1FE) == 0 && (answer & (answer - 1)) != 0; // two or more options
    default: return false;
    }
}

struct ShippedCase {
    const char* name; // for the test's name
    const char* file;
    int promised; // the size the settings dialog promises
};

class ShippedBank : public ::testing::TestWithParam<ShippedCase> {};

// The options of a single-choice text, in order (the text after "A、" etc.).
std::vector<std::string> optionsOf(const std::string& text) {
    std::vector<std::string> options;
    for (const char* letter : {"\r\nA", "\r\nB", "\r\nC", "\r\nD"}) {
        auto at = text.find(letter);
        if (at == std::string::npos) return {};
        options.push_back(text.substr(at + 2));
    }
    for (std::size_t i = 0; i + 1 < options.size(); ++i) options[i].resize(options[i].size() - options[i + 1].size());
    return options;
}

std::size_t characters(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace

TEST_P(ShippedBank, IsCompleteAndSound) {
    const std::string path = kApp + "/bankdata/" + GetParam().file;
    auto bank = BankFile::open(path);
    ASSERT_TRUE(bank) << bank.error();
    const int n = bank->questionCount();
    EXPECT_GE(n, GetParam().promised);
    EXPECT_EQ(readFileBytes(path)->size(), BankFile::fileSize(n));

    std::set<int> ids;
    int withPicture = 0, withExplanation = 0;
    int types[4] = {};
    std::set<std::string> pictures, signs;
    int letters[5] = {};    // right answers of single choice, by letter
    int longestRight = 0;   // single choice whose right option is the strictly longest
    std::set<int> multiRights; // how many options are right, over the multiple choice
    for (int i = 1; i <= n; ++i) {
        const QuestionRecord& r = bank->records[static_cast<std::size_t>(i)];
        SCOPED_TRACE("question " + std::to_string(r.id));
        EXPECT_TRUE(ids.insert(r.id).second) << "duplicate id";
        ASSERT_GE(r.type, 1);
        ASSERT_LE(r.type, 3);
        ++types[r.type];
        EXPECT_TRUE(answerFits(r.type, r.answer)) << "answer " << r.answer;
        // Every text ends inside its field and is valid GBK.
        EXPECT_NE(std::memchr(r.text, 0, sizeof r.text), nullptr);
        EXPECT_NE(std::memchr(r.explanation, 0, sizeof r.explanation), nullptr);
        EXPECT_NE(std::memchr(r.picture, 0, sizeof r.picture), nullptr);
        EXPECT_TRUE(gbk::toUtf8(readField(r.text)));
        EXPECT_FALSE(readField(r.text).empty());
        if (r.type == 1) {
            std::string text = *gbk::toUtf8(readField(r.text));
            std::vector<std::string> options = optionsOf(text);
            ASSERT_EQ(options.size(), 4u) << "four option lines";
            if (r.answer >= 1 && r.answer <= 4) {
                ++letters[r.answer];
                std::size_t right = characters(options[static_cast<std::size_t>(r.answer - 1)]);
                int longer = 0;
                for (const auto& o : options) longer += characters(o) >= right;
                if (longer == 1) ++longestRight;
            }
        }
        if (r.type == 3) multiRights.insert(std::popcount(static_cast<unsigned>(r.answer)));
        if (!readField(r.explanation).empty()) ++withExplanation;
        PictureRef pic = resolvePicture(readField(r.picture), false);
        if (!pic.empty()) {
            ++withPicture;
            pictures.insert(pic.nativePath);
            if (pic.nativePath.find("/sign_") != std::string::npos) signs.insert(pic.nativePath);
            EXPECT_TRUE(loads(kApp + "/" + pic.nativePath)) << pic.nativePath;
        }
    }
    EXPECT_GT(types[1], 0);
    EXPECT_GT(types[2], 0);
    EXPECT_GT(types[3], 0);
    EXPECT_GE(withPicture, 40);
    EXPECT_EQ(withExplanation, n); // every question explained
    // Fair single choice: each letter is right for 15-35 % of the questions,
    // and the right option is the strictly longest in at most a third.
    const int single = types[1];
    for (int letter = 1; letter <= 4; ++letter) {
        EXPECT_GE(letters[letter] * 100, single * 15) << "answer " << char('A' + letter - 1);
        EXPECT_LE(letters[letter] * 100, single * 35) << "answer " << char('A' + letter - 1);
    }
    EXPECT_LE(longestRight * 3, single);
    // Multiple choice is a small part, with two, three and four right options.
    EXPECT_LE(types[3] * 100, n * 5);
    EXPECT_EQ(multiRights, (std::set<int>{2, 3, 4}));
    if (std::string(GetParam().file) == "小车.tk") {
        EXPECT_GE(signs.size(), 120u); // distinct signs drawn
    }
    EXPECT_EQ(gbk::toUtf8Lossy(readField(bank->header.bankAuthor)), BankEdition::kAuthor);
    std::string bankPicture = toNativePath(readField(bank->header.bankPicture));
    EXPECT_TRUE(loads(kApp + "/" + bankPicture)) << bankPicture;

    // A full mock exam can be drawn from it: 100 distinct questions.
    for (std::uint32_t seed : {1u, 77u, 4242u}) {
        ExamDraw draw([seed] { return seed; });
        std::vector<int> picked = draw.draw(n, 100);
        std::set<int> distinct(picked.begin() + 1, picked.end());
        EXPECT_EQ(distinct.size(), 100u);
        EXPECT_GE(*distinct.begin(), 1);
        EXPECT_LE(*distinct.rbegin(), n);
    }
}

INSTANTIATE_TEST_SUITE_P(Banks, ShippedBank,
                         ::testing::Values(ShippedCase{"car", "小车.tk", 944}, ShippedCase{"bus", "客车.tk", 1005},
                                           ShippedCase{"truck", "货车.tk", 1025}),
                         [](const ::testing::TestParamInfo<ShippedCase>& shipped) { return std::string(shipped.param.name); });

TEST(ShippedBanks, SharedQuestionsKeepTheirIds) {
    auto car = BankFile::open(kApp + "/bankdata/小车.tk");
    auto bus = BankFile::open(kApp + "/bankdata/客车.tk");
    ASSERT_TRUE(car && bus);
    int shared = 0;
    for (int i = 1; i <= car->questionCount(); ++i) {
        const QuestionRecord& a = car->records[static_cast<std::size_t>(i)];
        if (int j = bus->findById(a.id)) {
            const QuestionRecord& b = bus->records[static_cast<std::size_t>(j)];
            EXPECT_EQ(readField(a.text), readField(b.text)) << a.id;
            EXPECT_EQ(a.answer, b.answer) << a.id;
            ++shared;
        }
    }
    EXPECT_GE(shared, 150);
}

TEST(ShippedSkin, EveryKeyResolvesToAPictureThatLoads) {
    Strfile table;
    SkinFile::load(table, kApp + "/皮肤.ini");
    int count = 0;
    const SkinButtons::Keys* keys = SkinButtons::table(&count);
    for (int i = 0; i < count; ++i) {
        for (const char* key : {keys[i].normal, keys[i].hover, keys[i].pressed}) {
            if (!key) continue;
            std::string value = lookupSkin(table, key);
            ASSERT_NE(value, "null") << key;
            EXPECT_TRUE(loads(kApp + "/" + toNativePath(value))) << key << " = " << value;
        }
    }
    for (const char* key : {"bg_sunxu", "bg_chuji", "bg_nanti", "bg_kaoshi"}) {
        std::string value = lookupSkin(table, key);
        ASSERT_NE(value, "null") << key;
        EXPECT_TRUE(loads(kApp + "/" + toNativePath(value))) << key;
    }
    std::string sound = lookupSkin(table, "shengyintexiao");
    auto wav = readFileBytes(kApp + "/" + toNativePath(sound));
    ASSERT_TRUE(wav) << sound;
    EXPECT_EQ(wav->substr(0, 4), "RIFF");
    EXPECT_EQ(wav->substr(8, 4), "WAVE");
    for (const char* mark : {"fileclose.png", "select.png", "gantan.png"})
        EXPECT_TRUE(loads(kApp + "/bankdata/" + mark)) << mark;
}

// Every picture of the runnable folder comes with its @2x variant, twice its
// size, for high-density screens.
TEST(ShippedArt, EveryPictureHasItsDoubleSizeVariant) {
    namespace fs = std::filesystem;
    int pictures = 0;
    for (const char* folder : {"skin", "bankdata", "bankdata/pics"}) {
        for (const auto& entry : fs::directory_iterator(kApp + "/" + folder)) {
            const fs::path p = entry.path();
            const std::string ext = p.extension().string();
            if (ext != ".png" && ext != ".bmp") continue;
            const std::string stem = p.stem().string();
            if (stem.size() > 3 && stem.substr(stem.size() - 3) == "@2x") continue;
            SCOPED_TRACE(p.string());
            ++pictures;
            const fs::path twice = p.parent_path() / (stem + "@2x" + ext);
            ASSERT_TRUE(fs::exists(twice));
            const QSize plain = QImageReader(QString::fromStdString(p.string())).size();
            const QSize big = QImageReader(QString::fromStdString(twice.string())).size();
            ASSERT_TRUE(plain.isValid());
            EXPECT_EQ(big, plain * 2);
        }
    }
    EXPECT_GT(pictures, 300);
}
