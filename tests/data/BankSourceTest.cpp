#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "BankCheck.h"
#include "BankSource.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
using Json = nlohmann::ordered_json;

namespace {

std::string g(const std::string& utf8) { return *gbk::fromUtf8(utf8); }

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Dumps the bank, builds the dump and compares the file images.
void expectDumpBuildsSameBytes(const Bank& bank) {
    std::string source = BankSource::dump(bank);
    TempDir dir;
    auto rebuilt = BankSource::build(source, "dump.json", dir.path());
    ASSERT_TRUE(rebuilt.ok()) << rebuilt.error();
    std::string want = BankFile::serialize(bank);
    std::string got = BankFile::serialize(*rebuilt);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(got[i], want[i]) << "first difference at byte " << i;
}

void fill(char* field, std::size_t width, const std::string& bytes) {
    ASSERT_LE(bytes.size(), width);
    std::memcpy(field, bytes.data(), bytes.size());
}

Json question(int id, const Json& type, const Json& answer, const Json& text) {
    Json q;
    q["id"] = id;
    q["type"] = type;
    q["text"] = text;
    q["answer"] = answer;
    return q;
}

std::string sourceWith(const Json& questions) {
    Json doc;
    doc["bankAuthor"] = "驰学宝编写组";
    doc["questions"] = questions;
    return doc.dump();
}

// The bytes of a literal, embedded terminators included.
template <std::size_t N>
std::string raw(const char (&s)[N]) { return std::string(s, N - 1); }

bool mentions(const std::string& text, const std::string& needle) { return text.find(needle) != std::string::npos; }

} // namespace

TEST(BankSourceRoundTrip, GeneratedBanks) {
    for (int n : {0, 1, 50, 1999}) {
        SCOPED_TRACE(n);
        expectDumpBuildsSameBytes(BankGenerator::make(n, static_cast<std::uint32_t>(n) + 5));
    }
}

TEST(BankSourceRoundTrip, DumpOfAPlainBankIsReadable) {
    Bank bank = BankGenerator::make(30);
    Json doc = Json::parse(BankSource::dump(bank));
    EXPECT_EQ(doc["bankAuthor"], "测试题库");
    EXPECT_FALSE(doc.contains("headerPatch"));
    EXPECT_FALSE(doc.contains("record0"));
    EXPECT_FALSE(doc.contains("include"));
    ASSERT_EQ(doc["questions"].size(), 30u);
    for (std::size_t i = 0; i < 30; ++i) {
        const Json& q = doc["questions"][i];
        const QuestionRecord& r = bank.records[i + 1];
        SCOPED_TRACE(q.dump());
        EXPECT_EQ(q["id"], r.id);
        EXPECT_FALSE(q.contains("patch"));
        EXPECT_FALSE(q.contains("textHex"));
        ASSERT_TRUE(q["type"].is_string());
        ASSERT_TRUE(q["answer"].is_string());
        if (r.type == kSingleChoice) {
            EXPECT_EQ(q["type"], "single");
            EXPECT_EQ(q["answer"], std::string(1, static_cast<char>('A' + r.answer - 1)));
            // The option lines are lines of their own.
            ASSERT_TRUE(q["text"].is_array());
            EXPECT_EQ(q["text"].size(), 5u);
            EXPECT_EQ(q["text"][1], "A、加速通过");
        } else if (r.type == kTrueFalse) {
            EXPECT_EQ(q["type"], "judge");
            EXPECT_EQ(q["answer"], r.answer == kAnswerTrue ? "对" : "错");
        } else {
            EXPECT_EQ(q["type"], "multi");
            EXPECT_EQ(q["answer"], (r.answer & 8) ? "ABC" : "AB");
        }
        EXPECT_EQ(q.contains("picture"), (i + 1) % 5 == 0);
    }
}

// Banks whose bytes the plain fields cannot describe on their own.
TEST(BankSourceRoundTrip, OddBanks) {
    struct Case {
        const char* name;
        std::function<void(Bank&)> spoil;
    };
    const std::string han = g("汉");
    const Case cases[] = {
        {"garbage after the terminators",
         [](Bank& b) {
             fill(b.records[1].text, 1000, raw("abc\0garbage\xFF"));
             fill(b.records[2].picture, 200, raw("p.png\0old name.png"));
             fill(b.records[3].explanation, 1000, raw("\0left over"));
             b.records[4].text[999] = 'z';
             fill(b.header.bankAuthor, 30, raw("me\0you"));
             fill(b.header.bankPicture, 60, raw("\0\x01\x02"));
         }},
        {"bytes that are not GBK",
         [](Bank& b) {
             fill(b.records[1].text, 1000, raw("\xFF\xFE\x80\x81\0"));
             fill(b.records[2].text, 1000, raw("ok\x81\0")); // lead byte without trail
             fill(b.records[3].picture, 200, raw("\xA1\x30.png\0"));
             fill(b.records[4].explanation, 1000, raw("\x81\x7F\0"));
             fill(b.header.bankAuthor, 30, raw("\xFF\xFF\0"));
             fill(b.header.bankLink, 100, raw("http://\x90\0"));
         }},
        {"texts filling their whole field",
         [&](Bank& b) {
             fill(b.records[1].text, 1000, std::string(1000, 'x'));
             fill(b.records[2].text, 1000, repeat(han, 500));
             fill(b.records[3].text, 1000, "a" + repeat(han, 499) + "\xBA");
             fill(b.records[4].picture, 200, std::string(200, 'p'));
             fill(b.records[5].explanation, 1000, "a" + repeat(han, 499) + "b");
             fill(b.header.bankAuthor, 30, repeat(han, 15));
             fill(b.header.bankLink, 100, std::string(100, 'l'));
             fill(b.header.bankPicture, 60, std::string(60, 'q'));
         }},
        {"reserved bytes and record 0",
         [](Bank& b) {
             for (int i = 4; i < 42; ++i) reinterpret_cast<char*>(&b.header)[i] = static_cast<char>(i * 5);
             for (int r = 1; r <= 5; ++r)
                 for (int i = 0; i < 32; ++i) b.records[static_cast<std::size_t>(r)].reserved[i] = static_cast<char>(r + i);
             for (std::size_t i = 0; i < sizeof(QuestionRecord); i += 3)
                 reinterpret_cast<char*>(&b.records[0])[i] = static_cast<char>(i);
         }},
        {"odd types and answer codes",
         [](Bank& b) {
             b.records[1].type = 7;
             b.records[1].answer = 2;
             b.records[2].type = kSingleChoice;
             b.records[2].answer = 0;
             b.records[3].type = kSingleChoice;
             b.records[3].answer = 99;
             b.records[4].type = kTrueFalse;
             b.records[4].answer = 1;
             b.records[5].type = kMultipleChoice;
             b.records[5].answer = 0;
             b.records[6].type = kMultipleChoice;
             b.records[6].answer = 99; // includes bit 0, which no letter has
             b.records[7].type = kMultipleChoice;
             b.records[7].answer = 0x1FE;
             b.records[8].type = 0;
             b.records[8].answer = -5;
             b.records[9].type = -1;
             b.records[9].answer = 99;
             b.records[10].type = kTrueFalse;
             b.records[10].answer = 0;
         }},
        {"counters, extra and ids",
         [](Bank& b) {
             b.records[1].rightCount = -3;
             b.records[1].wrongCount = 2147483647;
             b.records[1].answerCount = -2147483647 - 1;
             b.records[2].extra = -9;
             b.records[3].id = b.records[4].id;
             b.records[5].id = 0;
             b.records[6].id = -42;
         }},
        {"line breaks of every kind",
         [](Bank& b) {
             fill(b.records[1].text, 1000, raw("a\r\n\r\nb\r\n\0"));
             fill(b.records[2].text, 1000, raw("a\nb\rc\r\r\n\0"));
             fill(b.records[3].text, 1000, raw("\r\n\0"));
             fill(b.records[4].explanation, 1000, raw("x\r\ny\0"));
             fill(b.header.bankAuthor, 30, raw("a\r\nb\0"));
         }},
        {"empty texts",
         [](Bank& b) {
             std::memset(b.records[1].text, 0, 1000);
             std::memset(b.header.bankAuthor, 0, 30);
             std::memset(b.header.bankPicture, 0, 60);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bank bank = BankGenerator::make(12, 9);
        c.spoil(bank);
        expectDumpBuildsSameBytes(bank);
    }
}

TEST(BankSourceRoundTrip, RandomRecords) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        int count = round == 0 ? 1 : 15 * round;
        std::string bytes(BankFile::fileSize(count), '\0');
        for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
        // Random bytes rarely hold a terminator; give some fields a short text.
        for (int r = 1; r <= count; r += 2)
            bytes[232 + 2260 * static_cast<std::size_t>(r) + 44 + static_cast<std::size_t>(rng() % 1000)] = '\0';
        std::memcpy(bytes.data(), &count, 4);
        auto bank = BankFile::parse(bytes);
        ASSERT_TRUE(bank.ok()) << bank.error();
        expectDumpBuildsSameBytes(*bank);
    }
}

TEST(BankSourceBuild, ReadsTheDocumentedFields) {
    const char* source = R"({
      "bankAuthor": "驰学宝编写组",
      "bankLink": "",
      "bankPicture": "bankdata\\pics\\bank_car.png",
      "questions": [
        {"id": 1, "type": "judge", "text": ["第一行。"], "answer": "对", "explanation": "说明"},
        {"id": 2, "type": "single", "text": ["这个标志是何含义？", "A、停车让行", "B、减速让行"], "answer": "B",
         "picture": "pics\\sign_stop.png"},
        {"id": 3, "type": "multi", "text": "一行", "answer": "ABD", "rightCount": 4, "wrongCount": 5,
         "answerCount": 9, "extra": 12},
        {"id": 4, "type": "judge", "text": "x", "answer": "错"},
        {"id": 5, "type": "multi", "text": "x", "answer": "HA"},
        {"id": 6, "type": 7, "text": "x", "answer": 99},
        {"id": 7, "type": "single", "text": "x", "answer": "D"}
      ]
    })";
    auto bank = BankSource::build(source, "car.json", ".");
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(bank->questionCount(), 7);
    EXPECT_EQ(readField(bank->header.bankAuthor), g("驰学宝编写组"));
    EXPECT_EQ(readField(bank->header.bankPicture), "bankdata\\pics\\bank_car.png");
    const auto& r = bank->records;
    EXPECT_EQ(r[1].type, kTrueFalse);
    EXPECT_EQ(r[1].answer, kAnswerTrue);
    EXPECT_EQ(readField(r[1].explanation), g("说明"));
    EXPECT_EQ(r[2].type, kSingleChoice);
    EXPECT_EQ(r[2].answer, kAnswerB);
    EXPECT_EQ(readField(r[2].text), g("这个标志是何含义？\r\nA、停车让行\r\nB、减速让行"));
    EXPECT_EQ(readField(r[2].picture), "pics\\sign_stop.png");
    EXPECT_EQ(r[3].type, kMultipleChoice);
    EXPECT_EQ(r[3].answer, 2 | 4 | 16);
    EXPECT_EQ(readField(r[3].text), g("一行"));
    EXPECT_EQ(r[3].rightCount, 4);
    EXPECT_EQ(r[3].wrongCount, 5);
    EXPECT_EQ(r[3].answerCount, 9);
    EXPECT_EQ(r[3].extra, 12);
    EXPECT_EQ(r[4].answer, kAnswerFalse);
    EXPECT_EQ(r[5].answer, 2 | 256);
    EXPECT_EQ(r[6].type, 7);
    EXPECT_EQ(r[6].answer, 99);
    EXPECT_EQ(r[7].answer, kAnswerD);
    // Nothing beyond the questions.
    for (std::size_t i = 8; i < r.size(); i += 111) EXPECT_EQ(r[i].id, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[0]), sizeof r[0]).find_first_not_of('\0'),
              std::string::npos);
}

TEST(BankSourceBuild, FieldsUpToTheirLimitsFit) {
    Json q = question(1, "single", "A", "a" + repeat("汉", 499)); // 999 GBK bytes
    q["picture"] = std::string(199, 'p');
    q["explanation"] = repeat("汉", 499) + "b";
    Json doc;
    doc["bankAuthor"] = repeat("汉", 14) + "a"; // 29 bytes
    doc["bankLink"] = std::string(99, 'l');
    doc["bankPicture"] = std::string(59, 'q');
    doc["questions"] = Json::array({q});
    auto bank = BankSource::build(doc.dump(), "limits.json", ".");
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(readField(bank->records[1].text).size(), 999u);
    EXPECT_EQ(readField(bank->records[1].picture).size(), 199u);
    EXPECT_EQ(readField(bank->header.bankAuthor).size(), 29u);
}

TEST(BankSourceBuild, ErrorsNameTheFileAndTheQuestion) {
    struct Case {
        const char* name;
        std::string source;
        std::vector<std::string> needles;
    };
    auto one = [](const Json& q) { return sourceWith(Json::array({question(1, "judge", "对", "前一题"), q})); };
    Json longText = question(17, "single", "A", repeat("汉", 500));
    Json longLines = question(17, "single", "A", Json::array({repeat("汉", 400), repeat("汉", 99)}));
    Json longExplanation = question(17, "judge", "对", "x");
    longExplanation["explanation"] = repeat("汉", 500);
    Json longPicture = question(17, "judge", "对", "x");
    longPicture["picture"] = std::string(200, 'p');
    Json emojiExplanation = question(17, "judge", "对", "x");
    emojiExplanation["explanation"] = "好😀";
    Json noAnswer = question(17, "judge", "对", "x");
    noAnswer.erase("answer");
    Json noType = question(17, "judge", "对", "x");
    noType.erase("type");
    Json oddHex = question(17, "judge", "对", "x");
    oddHex.erase("text");
    oddHex["textHex"] = "abc";
    Json farPatch = question(17, "judge", "对", "x");
    farPatch["patch"] = Json::array({Json::array({2259, "0102"})});
    Json bigId = question(17, "judge", "对", "x");
    bigId["id"] = 4294967296LL;
    Json textId = question(17, "judge", "对", "x");
    textId["id"] = "17";
    Json tooMany = Json::array();
    for (int i = 1; i <= 2000; ++i) tooMany.push_back(question(i, "judge", "对", "x"));
    Json longAuthor = Json::parse(sourceWith(Json::array()));
    longAuthor["bankAuthor"] = repeat("汉", 15);
    auto with = [](Json q, const char* key, const Json& value) {
        q[key] = value;
        return q;
    };
    auto header = [](const char* key, const Json& value) {
        Json doc = Json::parse(sourceWith(Json::array({question(1, "judge", "对", "x")})));
        doc[key] = value;
        return doc.dump();
    };
    const Json plain = question(17, "judge", "对", "x");
    Json noId = plain;
    noId.erase("id");
    Json noText = plain;
    noText.erase("text");
    Json hugeId = plain;
    hugeId["id"] = 18446744073709551615ULL;

    const Case cases[] = {
        {"unknown type", one(question(17, "essay", "A", "x")), {"src.json", "question 17", "essay"}},
        {"single choice answered E", one(question(17, "single", "E", "x")), {"src.json", "question 17", "\"E\""}},
        {"single choice answered AB", one(question(17, "single", "AB", "x")), {"src.json", "question 17"}},
        {"single choice answered with nothing", one(question(17, "single", "", "x")), {"src.json", "question 17"}},
        {"single choice answered 对", one(question(17, "single", "对", "x")), {"src.json", "question 17"}},
        {"true/false answered A", one(question(17, "judge", "A", "x")), {"src.json", "question 17"}},
        {"multiple choice answered 对", one(question(17, "multi", "对", "x")), {"src.json", "question 17", "对"}},
        {"multiple choice with a letter twice", one(question(17, "multi", "ABA", "x")),
         {"src.json", "question 17", "ABA"}},
        {"multiple choice with nothing", one(question(17, "multi", "", "x")), {"src.json", "question 17"}},
        {"multiple choice past H", one(question(17, "multi", "AI", "x")), {"src.json", "question 17"}},
        {"multiple choice in lower case", one(question(17, "multi", "ab", "x")), {"src.json", "question 17"}},
        {"text of 1000 GBK bytes", one(longText), {"src.json", "question 17", "text", "1000"}},
        {"text lines joined past 999 bytes", one(longLines), {"src.json", "question 17", "text"}},
        {"explanation too long", one(longExplanation), {"src.json", "question 17", "explanation"}},
        {"picture name too long", one(longPicture), {"src.json", "question 17", "picture"}},
        {"emoji in a text", one(question(17, "judge", "对", "开车😀")), {"src.json", "question 17", "text"}},
        {"emoji in an explanation", one(emojiExplanation), {"src.json", "question 17", "explanation"}},
        {"no answer", one(noAnswer), {"src.json", "question 17", "answer"}},
        {"no type", one(noType), {"src.json", "question 17", "type"}},
        {"hex text with an odd number of digits", one(oddHex), {"src.json", "question 17"}},
        {"patch past the record", one(farPatch), {"src.json", "question 17"}},
        {"id beyond 32 bits", one(bigId), {"src.json", "id"}},
        {"id that is not a number", one(textId), {"src.json", "id"}},
        {"invalid JSON", "{\"questions\": [", {"src.json"}},
        {"not an object", "[1, 2]", {"src.json"}},
        {"questions not a list", "{\"questions\": 5}", {"src.json", "questions"}},
        {"include of a missing file", R"({"include": ["nowhere.json"], "questions": []})",
         {"src.json", "nowhere.json"}},
        {"more than 1999 questions", sourceWith(tooMany), {"src.json", "1999"}},
        {"author too long", longAuthor.dump(), {"src.json", "bankAuthor"}},
        {"id beyond 64 bits unsigned", one(hugeId), {"src.json", "position 2", "id", "32 bits"}},
        {"question without an id", one(noId), {"src.json", "question at position 2", "no id"}},
        {"question that is a number", one(Json(5)), {"src.json", "question at position 2", "object"}},
        // Keys the format does not know would be dropped.
        {"typo in explanation", one(with(plain, "explanaton", "说明")),
         {"src.json", "question 17", "\"explanaton\"", "\"explanation\""}},
        {"typo in picture", one(with(plain, "pictrue", "a.png")), {"src.json", "question 17", "\"pictrue\"", "\"picture\""}},
        {"typo in a question without an id", one(with(noId, "anwser", "对")),
         {"src.json", "question at position 2", "\"anwser\""}},
        {"a key of another kind", one(with(plain, "comment", "note")), {"src.json", "question 17", "\"comment\""}},
        {"typo in the header", header("bankAuther", "me"), {"src.json", "\"bankAuther\"", "\"bankAuthor\""}},
        {"question key in the header", header("explanation", "x"), {"src.json", "\"explanation\""}},
        {"text and textHex both", one(with(plain, "textHex", "41")), {"src.json", "question 17", "text", "textHex"}},
        {"key given twice in a question",
         R"({"questions": [{"id": 1, "type": "judge", "text": "a", "answer": "对"},
                           {"id": 17, "type": "judge", "text": "b", "text": "c", "answer": "对"}]})",
         {"src.json", "question 17", "\"text\"", "twice"}},
        {"key given twice in the header", R"({"bankAuthor": "a", "bankAuthor": "b", "questions": []})",
         {"src.json", "\"bankAuthor\"", "twice"}},
        {"two questions with one id", sourceWith(Json::array({question(17, "judge", "对", "a"), question(3, "judge", "错", "b"),
                                                              question(17, "single", "A", "c")})),
         {"src.json", "question 17", "position 1"}},
        {"allowRepeatedIds not true or false", header("allowRepeatedIds", "yes"), {"src.json", "allowRepeatedIds"}},
        // Wrong kinds of value are told in a sentence.
        {"text that is a number", one(with(plain, "text", 12)), {"src.json", "question 17", "text"}},
        {"text line that is a number", one(with(plain, "text", Json::array({"a", 3}))), {"src.json", "question 17", "text"}},
        {"textHex that is a number", one(with(noText, "textHex", 41)), {"src.json", "question 17", "textHex"}},
        {"picture that is an object", one(with(plain, "picture", Json::object())), {"src.json", "question 17", "picture"}},
        {"explanation that is true", one(with(plain, "explanation", true)), {"src.json", "question 17", "explanation"}},
        {"answer that is a fraction", one(with(plain, "answer", 1.5)), {"src.json", "question 17", "answer"}},
        {"type that is a list", one(with(plain, "type", Json::array())), {"src.json", "question 17", "type"}},
        {"counter that is text", one(with(plain, "rightCount", "3")), {"src.json", "question 17", "rightCount"}},
        {"extra that is null", one(with(plain, "extra", nullptr)), {"src.json", "question 17", "extra"}},
        {"patch that is text", one(with(plain, "patch", "0102")), {"src.json", "question 17", "patch"}},
        {"author that is a number", header("bankAuthor", 5), {"src.json", "bankAuthor"}},
        {"link that is a list of numbers", header("bankLink", Json::array({1})), {"src.json", "bankLink"}},
        {"bankPictureHex that is a number", header("bankPictureHex", 5), {"src.json", "bankPictureHex"}},
        {"include that is a name", header("include", "core.json"), {"src.json", "include"}},
        {"headerPatch that is an object", header("headerPatch", Json::object()), {"src.json", "headerPatch"}},
        {"afterRecords that is a number", header("afterRecords", 7), {"src.json", "afterRecords"}},
        {"afterRecords that is not hex", header("afterRecords", "zz"), {"src.json", "afterRecords"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string afterRecords;
        auto bank = BankSource::build(c.source, "src.json", dir.path(), &afterRecords);
        ASSERT_FALSE(bank.ok());
        for (const auto& needle : c.needles)
            EXPECT_TRUE(mentions(bank.error(), needle)) << "\"" << needle << "\" missing from: " << bank.error();
        // A sentence of ours, not the JSON library's.
        EXPECT_FALSE(mentions(bank.error(), "json.exception")) << bank.error();
    }
}

TEST(BankSourceBuild, IncludedQuestionsComeFirst) {
    TempDir dir;
    dir.write("core.json", sourceWith(Json::array({question(1, "judge", "对", "一"), question(2, "judge", "错", "二")})));
    Json sub = Json::parse(sourceWith(Json::array({question(3, "single", "C", "三")})));
    sub["include"] = Json::array({"deeper.json"}); // relative to sub/
    dir.write("sub/more.json", sub.dump());
    dir.write("sub/deeper.json", sourceWith(Json::array({question(4, "multi", "AC", "四")})));
    Json main = Json::parse(sourceWith(Json::array({question(5, "judge", "对", "五")})));
    main["bankAuthor"] = "主题库";
    main["include"] = Json::array({"core.json", "sub/more.json"});
    dir.write("car.json", main.dump());

    auto bank = BankSource::buildFile(dir.file("car.json"));
    ASSERT_TRUE(bank.ok()) << bank.error();
    ASSERT_EQ(bank->questionCount(), 5);
    const std::int32_t order[] = {1, 2, 4, 3, 5};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bank->records[static_cast<std::size_t>(i + 1)].id, order[i]) << i;
    // Only the questions are taken from an included file.
    EXPECT_EQ(readField(bank->header.bankAuthor), g("主题库"));
    EXPECT_EQ(bank->records[3].answer, 2 | 8);
}

TEST(BankSourceBuild, ErrorInAnIncludedFileNamesThatFile) {
    TempDir dir;
    dir.write("core.json", sourceWith(Json::array({question(1, "judge", "对", "一"), question(88, "single", "Z", "x")})));
    Json main = Json::parse(sourceWith(Json::array()));
    main["include"] = Json::array({"core.json"});
    dir.write("car.json", main.dump());
    auto bank = BankSource::buildFile(dir.file("car.json"));
    ASSERT_FALSE(bank.ok());
    EXPECT_TRUE(mentions(bank.error(), "core.json")) << bank.error();
    EXPECT_TRUE(mentions(bank.error(), "question 88")) << bank.error();

    dir.write("broken.json", "{ not json");
    main["include"] = Json::array({"broken.json"});
    dir.write("car.json", main.dump());
    auto broken = BankSource::buildFile(dir.file("car.json"));
    ASSERT_FALSE(broken.ok());
    EXPECT_TRUE(mentions(broken.error(), "broken.json")) << broken.error();

    // Including itself ends instead of looping.
    main["include"] = Json::array({"car.json"});
    dir.write("car.json", main.dump());
    EXPECT_FALSE(BankSource::buildFile(dir.file("car.json")).ok());
}

TEST(BankSourceBuild, IncludedFilesAreReadJustAsStrictly) {
    struct Case {
        const char* name;
        std::string core;  // the included file
        std::string extra; // questions of the main file
        std::vector<std::string> needles;
    };
    Json typo = question(88, "judge", "对", "x");
    typo["explanaton"] = "说明";
    const Json mainOwn = Json::array({question(5, "judge", "对", "五")});
    const Case cases[] = {
        {"unknown key in an included question", Json::object({{"questions", Json::array({question(1, "judge", "对", "一"), typo})}}).dump(),
         mainOwn.dump(), {"core.json", "question 88", "explanaton"}},
        {"unknown key at an included file's top", R"({"questoins": []})", mainOwn.dump(),
         {"core.json", "questoins", "\"questions\""}},
        {"an included file that is a list", "[1]", mainOwn.dump(), {"core.json", "object"}},
        {"key twice in an included question",
         R"({"questions": [{"id": 2, "type": "judge", "text": "a", "answer": "对", "answer": "错"}]})", mainOwn.dump(),
         {"core.json", "question 2", "\"answer\"", "twice"}},
        {"id of an included question used again in the main file", R"({"questions": [
            {"id": 7, "type": "judge", "text": "a", "answer": "对"},
            {"id": 5, "type": "judge", "text": "b", "answer": "错"}]})",
         mainOwn.dump(), {"car.json", "question 5", "position 2", "core.json"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write("core.json", c.core);
        Json main;
        main["bankAuthor"] = "主题库";
        main["include"] = Json::array({"core.json"});
        main["questions"] = Json::parse(c.extra);
        dir.write("car.json", main.dump());
        auto bank = BankSource::buildFile(dir.file("car.json"));
        ASSERT_FALSE(bank.ok());
        for (const auto& needle : c.needles)
            EXPECT_TRUE(mentions(bank.error(), needle)) << "\"" << needle << "\" missing from: " << bank.error();
    }
}

TEST(BankSourceBuild, TheShippedKindOfSourceIsAccepted) {
    // Every key the shipped sources use, in an included file and the main one.
    TempDir dir;
    dir.write("core.json", R"({"questions": [
      {"id": 1, "type": "judge", "text": ["一"], "answer": "对", "explanation": "说明"},
      {"id": 2, "type": "single", "text": ["二", "A、甲", "B、乙"], "answer": "B", "picture": "pics\\a.png",
       "explanation": ["行一", "行二"]}]})");
    dir.write("car.json", R"({"bankAuthor": "驰学宝编写组", "bankLink": "", "bankPicture": "bankdata\\pics\\bank.png",
      "include": ["core.json"], "questions": [{"id": 3, "type": "multi", "text": "三", "answer": "AB"}]})");
    std::string afterRecords = "untouched";
    auto bank = BankSource::buildFile(dir.file("car.json"), &afterRecords);
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(bank->questionCount(), 3);
    EXPECT_EQ(afterRecords, "");
}

TEST(BankSourceRoundTrip, BytesAfterTheLastRecordAreKept) {
    const std::string tails[] = {std::string(1, '\0'), "trailing bytes", raw("\0\xFF\x01 and more"),
                                 std::string(5000, 'z')};
    for (const auto& tail : tails) {
        SCOPED_TRACE(tail.size());
        Bank bank = BankGenerator::make(7, 3);
        std::string source = BankSource::dump(bank, tail);
        EXPECT_TRUE(Json::parse(source).contains("afterRecords"));
        std::string back;
        auto rebuilt = BankSource::build(source, "dump.json", ".", &back);
        ASSERT_TRUE(rebuilt.ok()) << rebuilt.error();
        EXPECT_EQ(BankFile::serialize(*rebuilt) + back, BankFile::serialize(bank) + tail);
        // A caller with no place for them is told instead of losing them.
        auto refused = BankSource::build(source, "dump.json", ".");
        ASSERT_FALSE(refused.ok());
        EXPECT_TRUE(mentions(refused.error(), "afterRecords")) << refused.error();
    }
    EXPECT_FALSE(Json::parse(BankSource::dump(BankGenerator::make(7, 3))).contains("afterRecords"));
}

TEST(BankSourceRoundTrip, ABankThatUsesAnIdTwiceSaysSo) {
    Bank bank = BankGenerator::make(6, 2);
    EXPECT_FALSE(Json::parse(BankSource::dump(bank)).contains("allowRepeatedIds"));
    bank.records[5].id = bank.records[2].id;
    Json doc = Json::parse(BankSource::dump(bank));
    EXPECT_EQ(doc["allowRepeatedIds"], true);
    expectDumpBuildsSameBytes(bank);
    doc.erase("allowRepeatedIds");
    auto refused = BankSource::build(doc.dump(), "hand.json", ".");
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(mentions(refused.error(), "question " + std::to_string(bank.records[2].id))) << refused.error();
}

TEST(BankSourceBuild, MissingSourceFile) {
    TempDir dir;
    auto bank = BankSource::buildFile(dir.file("none.json"));
    ASSERT_FALSE(bank.ok());
    EXPECT_TRUE(mentions(bank.error(), "none.json"));
}

TEST(BankCheck, CleanBanksHaveNoFindings) {
    for (int n : {0, 1, 50, 1999}) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(checkBank(BankGenerator::make(n), {}).empty());
    }
}

TEST(BankCheck, FindsWhatIsWrong) {
    struct Case {
        const char* name;
        std::function<void(Bank&)> spoil;
        std::string finding;
        int record; // the record the finding names
    };
    const Case cases[] = {
        {"duplicate id", [](Bank& b) { b.records[6].id = b.records[2].id; }, "already used", 6},
        {"single choice answered 5", [](Bank& b) { b.records[3].type = 1; b.records[3].answer = 5; }, "answer", 3},
        {"single choice answered 0", [](Bank& b) { b.records[3].type = 1; b.records[3].answer = 0; }, "answer", 3},
        {"true/false answered A", [](Bank& b) { b.records[4].type = 2; b.records[4].answer = 1; }, "answer", 4},
        {"multiple choice with bit 0", [](Bank& b) { b.records[5].type = 3; b.records[5].answer = 3; }, "answer", 5},
        {"multiple choice answered 0", [](Bank& b) { b.records[5].type = 3; b.records[5].answer = 0; }, "answer", 5},
        {"multiple choice past H", [](Bank& b) { b.records[5].type = 3; b.records[5].answer = 512; }, "answer", 5},
        {"unknown type", [](Bank& b) { b.records[7].type = 7; }, "type 7", 7},
        {"text without terminator", [](Bank& b) { std::memset(b.records[8].text, 'x', 1000); }, "terminator", 8},
        {"picture without terminator", [](Bank& b) { std::memset(b.records[8].picture, 'p', 200); }, "terminator", 8},
        {"explanation without terminator", [](Bank& b) { std::memset(b.records[8].explanation, 'e', 1000); },
         "terminator", 8},
        {"empty text", [](Bank& b) { b.records[9].text[0] = '\0'; }, "empty", 9},
        {"negative right count", [](Bank& b) { b.records[10].rightCount = -1; }, "negative", 10},
        {"negative wrong count", [](Bank& b) { b.records[10].wrongCount = -1; }, "negative", 10},
        {"negative answer count", [](Bank& b) { b.records[10].answerCount = -2147483647 - 1; }, "negative", 10},
        {"author without terminator", [](Bank& b) { std::memset(b.header.bankAuthor, 'a', 30); }, "bankAuthor", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bank bank = BankGenerator::make(12);
        c.spoil(bank);
        auto findings = checkBank(bank, {});
        ASSERT_EQ(findings.size(), 1u) << (findings.empty() ? "" : findings[0]);
        EXPECT_TRUE(mentions(findings[0], c.finding)) << findings[0];
        if (c.record > 0) {
            std::string id = "question " + std::to_string(bank.records[static_cast<std::size_t>(c.record)].id);
            EXPECT_TRUE(mentions(findings[0], id)) << findings[0];
        }
    }
}

TEST(BankCheck, RecordsPastTheCountAreNotChecked) {
    Bank bank = BankGenerator::make(5);
    bank.records[6].type = 9;
    bank.records[6].rightCount = -1;
    bank.records[0].type = 9;
    EXPECT_TRUE(checkBank(bank, {}).empty());
}

TEST(BankCheck, MissingPictures) {
    // Pictures are found as the trainer finds them: under the program
    // folder's bankdata.
    TempDir dir;
    Bank bank = BankGenerator::make(20); // pictures on questions 5, 10, 15, 20
    for (int i : {5, 10, 15, 20}) {
        std::string name(readField(bank.records[static_cast<std::size_t>(i)].picture));
        ASSERT_EQ(name.substr(0, 5), "pics\\");
        dir.write("bankdata/pics/" + name.substr(5), "png");
    }
    dir.write("bankdata/pics/gen_bank.png", "png");
    const PictureLookup builtIn{dir.path(), false};
    EXPECT_TRUE(checkBank(bank, builtIn).empty());

    std::filesystem::remove(dir.file("bankdata/pics/gen_" + std::to_string(bank.records[15].id) + ".png"));
    auto findings = checkBank(bank, builtIn);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_TRUE(mentions(findings[0], "question " + std::to_string(bank.records[15].id))) << findings[0];
    EXPECT_TRUE(mentions(findings[0], dir.file("bankdata/pics/gen_" + std::to_string(bank.records[15].id) + ".png")))
        << findings[0];

    // Blanks in a stored name do not count; a Chinese name is looked up in UTF-8.
    fill(bank.records[15].picture, 200, g(" pics\\标 志.png") + '\0');
    dir.write("bankdata/pics/标志.png", "png");
    EXPECT_TRUE(checkBank(bank, builtIn).empty());

    // Without a program folder nothing is looked up.
    EXPECT_TRUE(checkBank(BankGenerator::make(20), {}).empty());
}

TEST(BankCheck, PicturesOfAnExtraBankAndTheBanksOwnPicture) {
    struct Case {
        const char* name;
        const char* picture;     // a question's stored picture name
        const char* bankPicture; // the header's
        bool extraBank;
        std::vector<std::string> present; // files under the program folder
        const char* missing;              // what the one finding names, "" for none
    };
    const Case cases[] = {
        {"plain name of a built-in bank", "a.png", "", false, {"bankdata/a.png"}, ""},
        {"plain name of an extra bank", "a.png", "", true, {"bankdata/a.png"}, ""},
        {"name with a folder, built-in bank", "pics\\a.png", "", false, {"bankdata/pics/a.png"}, ""},
        {"name with a folder, extra bank", "pics\\a.png", "", true, {"pics/a.png"}, ""},
        {"extra bank's picture sought under bankdata", "pics\\a.png", "", true, {"bankdata/pics/a.png"}, "/pics/a.png"},
        {"built-in bank's picture sought beside bankdata", "pics\\a.png", "", false, {"pics/a.png"},
         "/bankdata/pics/a.png"},
        {"bank picture present", "", "bankdata\\pics\\bank.png", false, {"bankdata/pics/bank.png"}, ""},
        {"bank picture missing", "", "bankdata\\pics\\bank.png", false, {}, "bankPicture"},
        {"bank picture of an extra bank missing", "", "mine\\bank.png", true, {"bankdata/mine/bank.png"},
         "/mine/bank.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        for (const auto& f : c.present) dir.write(f, "png");
        Bank bank = BankGenerator::make(3);
        for (int i = 1; i <= 3; ++i) bank.records[static_cast<std::size_t>(i)].picture[0] = '\0';
        writeField(bank.records[2].picture, c.picture);
        writeField(bank.header.bankPicture, c.bankPicture);
        auto findings = checkBank(bank, PictureLookup{dir.path(), c.extraBank});
        if (std::string(c.missing).empty()) {
            EXPECT_TRUE(findings.empty()) << findings[0];
        } else {
            ASSERT_EQ(findings.size(), 1u);
            EXPECT_TRUE(mentions(findings[0], c.missing)) << findings[0];
            EXPECT_TRUE(mentions(findings[0], "is missing")) << findings[0];
        }
    }
}
