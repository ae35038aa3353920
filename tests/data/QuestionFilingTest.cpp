#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <string>

#include "BankSource.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/BankUpgrade.h"
#include "data/FixedField.h"
#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
using Json = nlohmann::ordered_json;

namespace {

const std::string kSigns = "道路交通信号";
const std::string kLaw = "道路交通安全法律、法规和规章";

Json judge(int id) {
    Json q;
    q["id"] = id;
    q["type"] = "judge";
    q["text"] = "遇到这个标志时应当停车。";
    q["answer"] = "对";
    return q;
}

Json filed(int id, const std::string& chapter, const std::string& topic) {
    Json q = judge(id);
    Json out;
    for (auto& [k, v] : q.items()) {
        out[k] = v;
        if (k == "type") {
            out["chapter"] = chapter;
            out["topic"] = topic;
        }
    }
    return out;
}

std::string sourceOf(const Json& questions) {
    Json doc;
    doc["bankAuthor"] = "编写组";
    doc["questions"] = questions;
    return doc.dump();
}

bool mentions(const std::string& text, const std::string& needle) { return text.find(needle) != std::string::npos; }

} // namespace

TEST(QuestionFilingSource, FiledQuestionsCarryTheirChapterAndTopicIntoTheRecord) {
    TempDir dir;
    auto bank = BankSource::build(sourceOf(Json::array({filed(1, kSigns, "标志"), filed(2, kLaw, "记分"), judge(3)})),
                                  "s.json", dir.path());
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(QuestionFiling::stored(bank->records[1]),
              (QuestionFiling{QuestionFiling::chapterIndex(kSigns), QuestionFiling::topicIndex("标志")}));
    EXPECT_EQ(QuestionFiling::stored(bank->records[2]),
              (QuestionFiling{QuestionFiling::chapterIndex(kLaw), QuestionFiling::topicIndex("记分")}));
    // A question of a bank from elsewhere without them is filed under neither
    // and its reserved bytes stay as they were.
    EXPECT_FALSE(QuestionFiling::stored(bank->records[3]).filed());
    for (char c : bank->records[3].reserved) EXPECT_EQ(c, 0);
}

TEST(QuestionFilingSource, BrokenFilingsAreRefusedNamingTheQuestion) {
    struct Case {
        const char* name;
        Json question;
        bool shipped;
        const char* says;
    };
    Json chapterOnly = judge(7);
    chapterOnly["chapter"] = kSigns;
    Json topicOnly = judge(7);
    topicOnly["topic"] = "标志";
    Json numberChapter = filed(7, kSigns, "标志");
    numberChapter["chapter"] = 2;
    const Case cases[] = {
        {"unknown chapter", filed(7, "道路交通", "标志"), false, "not one of the four chapters"},
        {"unknown topic", filed(7, kSigns, "交通标志"), false, "not one of the topics"},
        {"chapter as a number", numberChapter, false, "not one of the four chapters"},
        {"chapter without topic", chapterOnly, false, "give both or neither"},
        {"topic without chapter", topicOnly, false, "give both or neither"},
        {"shipped without either", judge(7), true, "shipped bank"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        auto bank = BankSource::build(sourceOf(Json::array({c.question})), "s.json", dir.path(), nullptr, c.shipped);
        ASSERT_FALSE(bank.ok());
        EXPECT_TRUE(mentions(bank.error(), "question 7")) << bank.error();
        EXPECT_TRUE(mentions(bank.error(), c.says)) << bank.error();
    }
}

TEST(QuestionFilingSource, ShippedSourceWithEveryQuestionFiledBuilds) {
    TempDir dir;
    auto bank = BankSource::build(sourceOf(Json::array({filed(1, kSigns, "手势")})), "s.json", dir.path(), nullptr,
                                  true);
    ASSERT_TRUE(bank.ok()) << bank.error();
}

TEST(QuestionFilingSource, DumpGivesTheFilingBackAndRebuildsTheSameBytes) {
    TempDir dir;
    auto bank = BankSource::build(sourceOf(Json::array({filed(1, kSigns, "标线"), judge(2)})), "s.json", dir.path());
    ASSERT_TRUE(bank.ok()) << bank.error();
    Json dumped = Json::parse(BankSource::dump(*bank));
    const Json& q1 = dumped["questions"][0];
    EXPECT_EQ(q1["chapter"], kSigns);
    EXPECT_EQ(q1["topic"], "标线");
    EXPECT_FALSE(q1.contains("patch")) << q1.dump();
    // The tags follow the type, as the shipped sources write them.
    auto it = q1.begin();
    std::advance(it, 2);
    EXPECT_EQ(it.key(), "chapter");
    EXPECT_FALSE(dumped["questions"][1].contains("chapter"));
    auto rebuilt = BankSource::build(dumped.dump(), "d.json", dir.path());
    ASSERT_TRUE(rebuilt.ok()) << rebuilt.error();
    EXPECT_EQ(BankFile::serialize(*rebuilt), BankFile::serialize(*bank));
}

// A bank made elsewhere may hold anything in the reserved bytes: whatever it
// holds comes back byte for byte, and only the exact mark with chapter and
// topic in range reads as a filing.
TEST(QuestionFilingSource, ForeignReservedBytesAreKeptAndNotMistakenForAFiling) {
    struct Case {
        const char* name;
        std::string bytes;
        bool filed;
    };
    const Case cases[] = {
        {"zeros", std::string(4, '\0'), false},
        {"text", "abcdefgh", false},
        {"mark, chapter 0", std::string("\x7fT\x00\x01", 4), false},
        {"mark, chapter 5", std::string("\x7fT\x05\x01", 4), false},
        {"mark, topic past the list", std::string("\x7fT\x01\x18", 4), false},
        {"mark, topic 0", std::string("\x7fT\x01\x00", 4), false},
        {"mark only in second byte", std::string("\x00T\x01\x01", 4), false},
        {"mark with a filing", std::string("\x7fT\x02\x08", 4), true},
        {"a filing and more bytes after", std::string("\x7fT\x04\x17zzzz", 8), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bank bank = BankGenerator::make(3, 11);
        std::memcpy(bank.records[2].reserved, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(QuestionFiling::stored(bank.records[2]).filed(), c.filed);
        TempDir dir;
        auto rebuilt = BankSource::build(BankSource::dump(bank), "d.json", dir.path());
        ASSERT_TRUE(rebuilt.ok()) << rebuilt.error();
        EXPECT_EQ(BankFile::serialize(*rebuilt), BankFile::serialize(bank));
    }
}

TEST(QuestionFilingPicture, SignsMarkingsLightsAndHandSignalsAreFiledByTheirPictureName) {
    struct Case {
        const char* picture;
        const char* topic; // nullptr: not filed
    };
    const Case cases[] = {
        {"pics\\sign_stop.png", "标志"},
        {"sign_yield.png", "标志"},
        {"pics/mark_stop_line.png", "标线"},
        {"bankdata\\pics\\light_red.png", "信号灯"},
        {"pics\\police_stop.png", "手势"},
        {"pics\\sign_", nullptr},
        {"pics\\dash_oil.png", nullptr},
        {"pics\\design_sign_x.png", nullptr},
        {"", nullptr},
        {"pics\\SIGN_stop.png", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        QuestionFiling f = QuestionFiling::fromPicture(c.picture);
        if (!c.topic) {
            EXPECT_FALSE(f.filed());
            continue;
        }
        EXPECT_EQ(f.chapter, QuestionFiling::chapterIndex(kSigns));
        EXPECT_EQ(f.topic, QuestionFiling::topicIndex(c.topic));
    }
}

TEST(QuestionFilingPicture, AStoredFilingWinsOverThePictureName) {
    Bank bank = BankGenerator::make(2, 3);
    QuestionRecord& r = bank.records[1];
    std::memset(r.picture, 0, sizeof r.picture);
    writeField(r.picture, std::string_view("pics\\sign_stop.png"));
    EXPECT_EQ(QuestionFiling::of(r).topic, QuestionFiling::topicIndex("标志"));
    QuestionFiling law{QuestionFiling::chapterIndex(kLaw), QuestionFiling::topicIndex("罚则")};
    QuestionFiling::store(r, law);
    EXPECT_EQ(QuestionFiling::of(r), law);
    // Without either, a question is filed under neither (shown as 未分类).
    std::memset(r.reserved, 0, sizeof r.reserved);
    std::memset(r.picture, 0, sizeof r.picture);
    EXPECT_FALSE(QuestionFiling::of(r).filed());
}

// A learner's folder from before the banks were filed: the upgrade sees the
// filed shipped bank as changed, takes its filing and keeps the counters.
TEST(QuestionFilingUpgrade, UpgradeTakesTheFilingAndKeepsTheCounters) {
    Bank learner = BankGenerator::make(5, 21);
    learner.records[3].rightCount = 4;
    learner.records[3].wrongCount = 2;
    learner.records[3].answerCount = 6;
    Bank shipped = learner;
    QuestionFiling signs{QuestionFiling::chapterIndex(kSigns), QuestionFiling::topicIndex("标志")};
    for (int i = 1; i <= shipped.questionCount(); ++i) {
        QuestionRecord& r = shipped.records[static_cast<std::size_t>(i)];
        r.rightCount = r.wrongCount = r.answerCount = 0;
        QuestionFiling::store(r, signs);
    }
    EXPECT_FALSE(BankUpgrade::sameQuestions(shipped, learner));
    Bank merged = BankUpgrade::carryCounters(shipped, learner);
    EXPECT_EQ(QuestionFiling::stored(merged.records[3]), signs);
    EXPECT_EQ(merged.records[3].rightCount, 4);
    EXPECT_EQ(merged.records[3].wrongCount, 2);
    EXPECT_EQ(merged.records[3].answerCount, 6);
}
