// The page "保存...." writes and the PDF is laid out from: pictures inside,
// UTF-8 as declared, a header with bank, date and score, the learner's answer
// beside the right one.
#include "ExamFixture.h"

#include <regex>

#include "engine/TravellingPage.h"

using namespace cxb;
using namespace cxb::test;

namespace {

const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\rIHDR rest of a picture", 25);
const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF and more";


Bank pictureBank() {
    Bank b;
    b.header.questionCount = 4;
    auto set = [&](int i, int id, int type, int answer, const std::string& text, const std::string& picture) {
        setQuestion(b, i, id, type, answer, text, picture);
    };
    set(1, 21, 1, 3, "图中是什么标志？\r\n请选择。", "sign.png");
    set(2, 22, 2, 6, "可以在\"a<b\" & 路口掉头。", "pics\\路口.jpg");
    set(3, 23, 3, 2 | 8, "哪些是对的？", " ");
    set(4, 24, 1, 1, "缺图的题。", "gone.png");
    return b;
}

class Travelling : public ExamRig {
protected:
    void SetUp() override {
        dir.mkdir("bankdata");
        dir.mkdir("bankdata/pics");
        dir.write("bankdata/sign.png", kPng);
        dir.write("bankdata/pics/路口.jpg", kJpeg);
        start(pictureBank(), [](Sfile& s) {
            HistoryEntry& e = s.history[1];
            e.itemCount = 4;
            e.items[1] = HistoryItem{21, 3, 1, {0, 0, 0}};      // right
            e.items[2] = HistoryItem{22, 5, 0, {0, 0, 0}};      // wrong: 错 for 对
            e.items[3] = HistoryItem{23, 0, 0, {0, 0, 0}};      // not answered
            e.items[4] = HistoryItem{24, 1, 1, {0, 0, 0}};
            e.score = 2;
            writeField(e.takenAt, gbkOf("2026年12月09日10点11分12秒"));
            writeField(e.bankTag, "TKxiaoche");
            s.historyCount = 1;
        });
    }
    TravellingPage page() { return TravellingPage(t().s, t().history); }
};

std::vector<std::string> imageSources(const std::string& html) {
    std::vector<std::string> out;
    const std::regex img("<img src=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), img); it != std::sregex_iterator(); ++it)
        out.push_back((*it)[1]);
    return out;
}

} // namespace

TEST_F(Travelling, EveryPictureIsInsideThePage) {
    for (bool withAnswers : {true, false}) {
        const std::string html = page().html(1, withAnswers);
        const auto sources = imageSources(html);
        ASSERT_EQ(sources.size(), 2u) << html;
        EXPECT_EQ(sources[0].rfind("data:image/png;base64,", 0), 0u);
        EXPECT_EQ(TravellingPage::decodeDataUri(sources[0]), kPng);
        EXPECT_EQ(sources[1].rfind("data:image/jpeg;base64,", 0), 0u);
        EXPECT_EQ(TravellingPage::decodeDataUri(sources[1]), kJpeg);
        // Nothing is named by a path that only the program's folder has.
        EXPECT_EQ(html.find("bankdata"), std::string::npos);
        // The missing picture is named in its place.
        EXPECT_NE(html.find(std::string(TravellingPage::kPictureMissing) + "gone.png）"), std::string::npos);
    }
}

TEST_F(Travelling, HeaderNamesBankDateAndScore) {
    for (bool withAnswers : {true, false}) {
        const std::string html = page().html(1, withAnswers);
        EXPECT_NE(html.find("题库：小车"), std::string::npos);
        EXPECT_NE(html.find("考试时间：2026年12月09日10点11分12秒"), std::string::npos);
        EXPECT_NE(html.find("成绩：2 分（共 4 题）"), std::string::npos);
        EXPECT_NE(html.find(withAnswers ? "（含答案）" : "（无答案）"), std::string::npos);
    }
}

TEST_F(Travelling, LearnersAnswerBesideTheKey) {
    const std::string html = page().html(1, true);
    EXPECT_NE(html.find("1,图中是什么标志？<br>请选择。<p>答案：C　<span class=\"right\">你的答案：C（对）</span>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("答案：对　<span class=\"wrong\">你的答案：错（错）</span>"), std::string::npos);
    EXPECT_NE(html.find("答案：AC　<span class=\"wrong\">你的答案：未答（错）</span>"), std::string::npos);
    // Question text is escaped, unlike the plain pages.
    EXPECT_NE(html.find("可以在&quot;a&lt;b&quot; &amp; 路口掉头。"), std::string::npos);

    const std::string blank = page().html(1, false);
    EXPECT_EQ(blank.find("你的答案"), std::string::npos);
    EXPECT_EQ(std::count(blank.begin(), blank.end(), '_'), 4 * 3);
}

TEST_F(Travelling, CharsetIsTheBytesOwn) {
    const std::string html = page().html(1, true);
    EXPECT_NE(html.find("<meta charset=\"utf-8\" />"), std::string::npos);
    EXPECT_EQ(html.find("gb2312"), std::string::npos);
    EXPECT_EQ(gbk::toUtf8Lossy(gbk::fromUtf8Lossy(html)), html) << "not clean UTF-8";
}

TEST_F(Travelling, NoEntryNoPage) {
    for (int entry : {0, 2, -1, 1000}) EXPECT_EQ(page().html(entry, true), "") << entry;
}

TEST_F(Travelling, ExtraBankPicturesByTheirOwnPath) {
    st().extraBank = 1;
    dir.write("pics/路口.jpg", kPng);
    const auto sources = imageSources(page().html(1, true));
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(TravellingPage::decodeDataUri(sources[1]), kPng);
}

// RFC 4648's vectors, both ways.
TEST(TravellingBase64, KnownVectors) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, coded] : vectors) {
        EXPECT_EQ(TravellingPage::base64(plain), coded) << plain;
        EXPECT_EQ(TravellingPage::unbase64(coded), plain) << coded;
    }
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(TravellingPage::unbase64(TravellingPage::base64(all)), all);
}

TEST(TravellingBase64, BrokenTextIsRefused) {
    for (const char* broken : {"Zg=", "Zg", "Z===", "Zm9v!A==", "Zg==Zm9v", "=Zg=", "Zm=v", "Zm9\n"})
        EXPECT_EQ(TravellingPage::unbase64(broken), std::nullopt) << broken;
}

TEST(TravellingDataUri, OnlyBase64PictureAddresses) {
    EXPECT_EQ(TravellingPage::decodeDataUri("data:image/png;base64,Zm9v"), "foo");
    for (const char* other : {"bankdata/sign.png", "data:image/png,foo", "data:image/png;base64", "file:///a.png",
                              "data:;base64,Zm9", "DATA:image/png;base64,Zm9v"})
        EXPECT_EQ(TravellingPage::decodeDataUri(other), std::nullopt) << other;
}

TEST(TravellingDataUri, PictureTypeFromTheFirstBytes) {
    const std::pair<std::string, const char*> cases[] = {
        {kPng, "image/png"},
        {kJpeg, "image/jpeg"},
        {"GIF89a....", "image/gif"},
        {"GIF87a....", "image/gif"},
        {"BM" + std::string(40, '\0'), "image/bmp"},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\"/>", "image/svg+xml"},
        {"\n<?xml version=\"1.0\"?>\n<svg/>", "image/svg+xml"},
        {"<?xml version=\"1.0\"?><html/>", ""},
        {"BM", ""},
        {"", ""},
        {"plain text", ""},
        {std::string("\x89PNG", 4), ""},
    };
    for (const auto& [bytes, type] : cases) {
        EXPECT_STREQ(TravellingPage::pictureType(bytes), type) << bytes;
        EXPECT_EQ(TravellingPage::dataUri(bytes).has_value(), *type != '\0') << bytes;
    }
}
