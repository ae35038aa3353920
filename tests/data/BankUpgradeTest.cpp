#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/BankUpgrade.h"
#include "data/FixedField.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
using Outcome = BankUpgrade::Outcome;

namespace {

QuestionRecord& question(Bank& bank, std::int32_t id) {
    int at = bank.findById(id);
    EXPECT_GT(at, 0) << "no question " << id;
    return bank.records[static_cast<std::size_t>(at)];
}

// A learner's bank after some practice: every question with counters of its
// own, the records in the order a practice sort left them.
Bank practised(int questions) {
    Bank bank = BankGenerator::make(questions, 3);
    for (int i = 1; i <= questions; ++i) {
        QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        r.rightCount = r.id * 3;
        r.wrongCount = r.id % 7;
        r.answerCount = r.rightCount + r.wrongCount;
    }
    std::reverse(bank.records.begin() + 1, bank.records.begin() + 1 + questions);
    return bank;
}

// Ids of the fresh bank's 5th and 9th questions, and of a new one.
std::int32_t idAt(int position) { return BankGenerator::make(30, 3).records[static_cast<std::size_t>(position)].id; }
const std::int32_t kReworded = idAt(5);
const std::int32_t kGone = idAt(9);
constexpr std::int32_t kAdded = 100000;

// The next shipped version of a fresh bank: one question reworded, one gone,
// one added; no counters.
Bank nextVersion(int questions) {
    Bank bank = BankGenerator::make(questions, 3);
    writeField(question(bank, kReworded).text, "已改写：遇到这种情况应当怎样做？");
    int gone = bank.findById(kGone);
    std::copy(bank.records.begin() + gone + 1, bank.records.begin() + questions + 1, bank.records.begin() + gone);
    QuestionRecord& added = bank.records[static_cast<std::size_t>(questions)];
    added = bank.records[1];
    added.id = kAdded;
    writeField(added.text, "新题：驾驶机动车应当随身携带驾驶证。");
    return bank;
}

} // namespace

TEST(BankUpgrade, SameQuestionsWhateverTheOrderAndCounters) {
    const Bank fresh = BankGenerator::make(40, 3);
    EXPECT_TRUE(BankUpgrade::sameQuestions(fresh, practised(40)));
    EXPECT_TRUE(BankUpgrade::sameQuestions(practised(40), fresh));

    struct Change {
        const char* what;
        void (*apply)(Bank&);
    };
    const Change changes[] = {
        {"a text", [](Bank& b) { b.records[7].text[3] ^= 1; }},
        {"an answer", [](Bank& b) { b.records[7].answer += 1; }},
        {"a type", [](Bank& b) { b.records[7].type = 9; }},
        {"an explanation", [](Bank& b) { writeField(b.records[7].explanation, "另一个解释"); }},
        {"a picture", [](Bank& b) { writeField(b.records[7].picture, "pics\\other.png"); }},
        {"an id", [](Bank& b) { b.records[7].id = 5000; }},
        {"the carried-along bytes", [](Bank& b) { b.records[7].reserved[0] = 1; }},
        {"record 0", [](Bank& b) { b.records[0].id = 1; }},
        {"the author", [](Bank& b) { writeField(b.header.bankAuthor, "别人"); }},
        {"the header's carried-along bytes", [](Bank& b) { b.header.reserved[5] = 2; }},
        {"one question fewer", [](Bank& b) { b.header.questionCount -= 1; }},
        {"one question more", [](Bank& b) {
             b.records[41] = b.records[1];
             b.records[41].id = kAdded;
             b.header.questionCount += 1;
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        Bank changed = practised(40);
        change.apply(changed);
        EXPECT_FALSE(BankUpgrade::sameQuestions(fresh, changed));
        EXPECT_FALSE(BankUpgrade::sameQuestions(changed, fresh));
    }
}

TEST(BankUpgrade, CarriesCountersByIdDropsGoneQuestionsAndStartsNewOnesAtZero) {
    const Bank learner = practised(30);
    Bank shipped = nextVersion(30);
    shipped.records[12].rightCount = 99; // a shipped bank's own counters never count
    const Bank merged = BankUpgrade::carryCounters(shipped, learner);

    ASSERT_EQ(merged.questionCount(), 30);
    Bank copy = merged;
    for (int i = 1; i <= 30; ++i) {
        const QuestionRecord& r = merged.records[static_cast<std::size_t>(i)];
        EXPECT_EQ(r.id, shipped.records[static_cast<std::size_t>(i)].id) << "the shipped order is kept";
        if (r.id == kAdded) {
            EXPECT_EQ(r.rightCount + r.wrongCount + r.answerCount, 0);
            continue;
        }
        EXPECT_EQ(r.rightCount, r.id * 3) << r.id;
        EXPECT_EQ(r.wrongCount, r.id % 7) << r.id;
        EXPECT_EQ(r.answerCount, r.id * 3 + r.id % 7) << r.id;
    }
    EXPECT_EQ(copy.findById(kGone), 0);
    EXPECT_EQ(readField(question(copy, kReworded).text), "已改写：遇到这种情况应当怎样做？");
    EXPECT_TRUE(BankUpgrade::sameQuestions(merged, shipped));
}

TEST(BankUpgrade, ARepeatedIdTakesTheCountersOfItsFirstQuestion) {
    Bank learner = BankGenerator::make(4, 3);
    learner.records[2].id = learner.records[1].id;
    learner.records[1].rightCount = 5;
    learner.records[2].rightCount = 8;
    const Bank merged = BankUpgrade::carryCounters(BankGenerator::make(4, 3), learner);
    EXPECT_EQ(merged.records[1].rightCount, 5);
}

TEST(BankUpgrade, UpgradesTheFileKeepsTheBackupAndASecondRunChangesNothing) {
    TempDir dir;
    const Bank learner = practised(30);
    ASSERT_EQ(BankFile::store(learner, dir.file("小车.tk")), "");
    ASSERT_EQ(BankFile::store(nextVersion(30), dir.file("shipped.tk")), "");
    const std::string before = dir.read("小车.tk");

    auto report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk"));
    ASSERT_EQ(report.outcome, Outcome::Upgraded) << report.error;
    EXPECT_EQ(report.carried, 29);
    EXPECT_EQ(report.added, 1);
    EXPECT_EQ(report.dropped, 1);
    EXPECT_EQ(dir.read("小车.tk.bak"), before);
    auto upgraded = BankFile::open(dir.file("小车.tk"));
    ASSERT_TRUE(upgraded.ok());
    EXPECT_EQ(question(*upgraded, kReworded).answerCount, kReworded * 3 + kReworded % 7);
    EXPECT_EQ(question(*upgraded, kAdded).answerCount, 0);
    EXPECT_EQ(upgraded->findById(kGone), 0);

    const std::string after = dir.read("小车.tk");
    report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk"));
    EXPECT_EQ(report.outcome, Outcome::Unchanged);
    EXPECT_EQ(dir.read("小车.tk"), after);
    EXPECT_EQ(dir.read("小车.tk.bak"), before);
}

TEST(BankUpgrade, APractisedCopyOfTheSameBankIsLeftAsItIs) {
    TempDir dir;
    ASSERT_EQ(BankFile::store(practised(30), dir.file("小车.tk")), "");
    ASSERT_EQ(BankFile::store(BankGenerator::make(30, 3), dir.file("shipped.tk")), "");
    const std::string before = dir.read("小车.tk");
    EXPECT_EQ(BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk")).outcome, Outcome::Unchanged);
    EXPECT_EQ(dir.read("小车.tk"), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("小车.tk.bak")));
}

TEST(BankUpgrade, AMissingCopyIsMadeAndAnUnreadableOneSalvagedWithItsBackup) {
    TempDir dir;
    ASSERT_EQ(BankFile::store(nextVersion(30), dir.file("shipped.tk")), "");
    auto report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk"));
    EXPECT_EQ(report.outcome, Outcome::Created);
    EXPECT_EQ(dir.read("小车.tk"), dir.read("shipped.tk"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("小车.tk.bak")));

    int number = 0;
    for (std::string broken : {std::string("not a bank"), std::string(), std::string("\xff\xff\xff\xff", 4) + std::string(300, 'x')}) {
        dir.write("客车.tk", broken);
        report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("客车.tk"));
        EXPECT_EQ(report.outcome, Outcome::Salvaged);
        EXPECT_EQ(report.carried, 0);
        EXPECT_EQ(dir.read("客车.tk"), dir.read("shipped.tk"));
        // Each damaged copy keeps a backup of its own.
        const std::string backup = ++number == 1 ? "客车.tk.bak" : "客车.tk.bak." + std::to_string(number);
        EXPECT_EQ(report.backup, dir.file(backup));
        EXPECT_EQ(dir.read(backup), broken);
    }
}

TEST(BankUpgrade, AFailureLeavesTheLearnersCopyAsItWas) {
    TempDir dir;
    ASSERT_EQ(BankFile::store(practised(20), dir.file("小车.tk")), "");
    const std::string before = dir.read("小车.tk");
    dir.write("short.tk", std::string(100, '\0'));
    dir.mkdir("folder.tk");
    ASSERT_EQ(BankFile::store(nextVersion(20), dir.file("shipped.tk")), "");

    struct Case {
        const char* what;
        std::string shipped, learner;
    };
    const Case cases[] = {
        {"no shipped bank", dir.file("missing.tk"), dir.file("小车.tk")},
        {"a shipped bank that is not one", dir.file("short.tk"), dir.file("小车.tk")},
        {"a folder for the shipped bank", dir.file("folder.tk"), dir.file("小车.tk")},
        {"a folder for the learner's copy", dir.file("shipped.tk"), dir.file("folder.tk")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto report = BankUpgrade::apply(c.shipped, c.learner);
        EXPECT_EQ(report.outcome, Outcome::Failed);
        EXPECT_FALSE(report.error.empty());
        EXPECT_EQ(dir.read("小车.tk"), before);
    }

    // The disk fills up while the upgraded bank is written.
    AtomicFile::setWriteHook([](const std::string& path, std::size_t) { return path.ends_with("小车.tk") == false; });
    auto report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk"));
    AtomicFile::setWriteHook({});
    EXPECT_EQ(report.outcome, Outcome::Failed);
    EXPECT_EQ(dir.read("小车.tk"), before);
    // ... and while the backup is written: the copy stays as it is too.
    AtomicFile::setWriteHook([](const std::string& path, std::size_t) { return path.find(".bak") == std::string::npos; });
    report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk"));
    AtomicFile::setWriteHook({});
    EXPECT_EQ(report.outcome, Outcome::Failed);
    EXPECT_EQ(dir.read("小车.tk"), before);
}
