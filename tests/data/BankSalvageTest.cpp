// A learner's bank that cannot be read as a bank any more is salvaged, never
// simply replaced: the counters of its whole records come into the shipped
// bank, and the damaged file is kept among numbered backups that never
// replace one another.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "data/BackupFiles.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/BankSalvage.h"
#include "data/BankUpgrade.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr int kQuestions = 60;

// A practised bank: question i (in file order, reversed by a sort) has
// answerCount i + 1, so each question's counters are told apart.
Bank practised() {
    Bank bank = BankGenerator::make(kQuestions, 3);
    for (int i = 1; i <= kQuestions; ++i) {
        QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        r.rightCount = i;
        r.wrongCount = 1;
        r.answerCount = i + 1;
    }
    std::reverse(bank.records.begin() + 1, bank.records.begin() + 1 + kQuestions);
    return bank;
}

int withCounters(const Bank& bank) {
    int n = 0;
    for (int i = 1; i <= bank.questionCount(); ++i) n += bank.records[static_cast<std::size_t>(i)].answerCount != 0;
    return n;
}

std::size_t recordEnd(int i) { return BankFile::fileSize(i); }

void put32(std::string& bytes, std::size_t at, std::int32_t v) { std::memcpy(bytes.data() + at, &v, sizeof v); }

} // namespace

TEST(BankSalvage, WholeRecordsKeepTheirCountersWhateverBrokeTheFile) {
    const Bank learner = practised();
    const std::string whole = BankFile::serialize(learner);
    const Bank shipped = BankGenerator::make(kQuestions, 3);
    struct Case {
        const char* what;
        std::string bytes;
        int kept;
    };
    std::string badCount = whole;
    put32(badCount, 0, 5000);
    std::string negativeCount = whole;
    put32(negativeCount, 0, -1);
    std::string smallCount = whole; // the header says fewer questions than the records
    put32(smallCount, 0, 10);
    std::string garbledMiddle = whole.substr(0, whole.size() - 1);
    std::fill(garbledMiddle.begin() + static_cast<long>(recordEnd(20)), garbledMiddle.begin() + static_cast<long>(recordEnd(30)), '\xA5');
    std::string negativeCounter = whole.substr(0, recordEnd(5));
    put32(negativeCounter, recordEnd(3) - 4, -7); // record 3's answerCount
    std::string otherType = whole.substr(0, recordEnd(5));
    put32(otherType, recordEnd(2) - sizeof(QuestionRecord) + offsetof(QuestionRecord, type), 9);
    std::string repeated = whole.substr(0, recordEnd(4));
    repeated += whole.substr(recordEnd(0), sizeof(QuestionRecord)); // record 1 again, as record 4
    const Case cases[] = {
        {"cut in the middle of record 51", whole.substr(0, recordEnd(50) + 1000), 50},
        {"cut after record 50", whole.substr(0, recordEnd(50)), 50},
        {"cut one byte short", whole.substr(0, whole.size() - 1), kQuestions - 1},
        {"cut inside the header", whole.substr(0, 100), 0},
        {"nothing left", std::string(), 0},
        {"a count above 1,999 over whole records", badCount.substr(0, recordEnd(40)), 40},
        {"a negative count over whole records", negativeCount.substr(0, recordEnd(40)), 40},
        {"a count below the records, cut short", smallCount.substr(0, recordEnd(8)), 8},
        {"ten records overwritten, then cut", garbledMiddle, kQuestions - 1 - 10},
        {"garbage of a bank's size", std::string(whole.size() - 1, '\xA5'), 0},
        {"a negative counter", negativeCounter, 4},
        {"a record of another type", otherType, 4},
        {"an id twice: the first counts", repeated, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BankSalvage::Outcome out = BankSalvage::fromDamaged(c.bytes, shipped);
        EXPECT_EQ(out.kept, c.kept);
        EXPECT_TRUE(BankUpgrade::sameQuestions(out.bank, shipped));
        EXPECT_LE(withCounters(out.bank), c.kept);
        // Every counter that came over is the learner's, for that id.
        for (int i = 1; i <= kQuestions; ++i) {
            const QuestionRecord& r = out.bank.records[static_cast<std::size_t>(i)];
            if (r.answerCount == 0) continue;
            const QuestionRecord& earned = learner.records[static_cast<std::size_t>(learner.findById(r.id))];
            EXPECT_EQ(r.rightCount, earned.rightCount);
            EXPECT_EQ(r.wrongCount, earned.wrongCount);
            EXPECT_EQ(r.answerCount, earned.answerCount);
        }
    }
}

TEST(BankSalvage, ANewerShippedBankTakesTheCountersOfTheQuestionsItStillHas) {
    const std::string damaged = BankFile::serialize(practised()).substr(0, recordEnd(30) + 17);
    Bank shipped = BankGenerator::make(kQuestions, 3);
    // The last question of the learner's file order is gone from the new bank.
    const std::int32_t gone = practised().records[1].id;
    const int at = shipped.findById(gone);
    shipped.records[static_cast<std::size_t>(at)].id = 999999;
    EXPECT_EQ(BankSalvage::fromDamaged(damaged, shipped).kept, 29);
}

TEST(BankSalvage, ADamagedCopyIsSalvagedAndEachDamageKeepsItsOwnBackup) {
    TempDir dir;
    ASSERT_EQ(BankFile::store(BankGenerator::make(kQuestions, 3), dir.file("shipped.tk")), "");
    const std::string whole = BankFile::serialize(practised());
    const std::string cut = whole.substr(0, recordEnd(50) + 300);
    dir.write("小车.tk", cut);

    auto report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk"));
    ASSERT_EQ(report.outcome, BankUpgrade::Outcome::Salvaged);
    EXPECT_EQ(report.carried, 50);
    EXPECT_EQ(report.damage, FileProblem::TooShort);
    EXPECT_EQ(report.backup, dir.file("小车.tk.bak"));
    EXPECT_EQ(dir.read("小车.tk.bak"), cut);
    auto salvaged = BankFile::open(dir.file("小车.tk"));
    ASSERT_TRUE(salvaged.ok());
    EXPECT_EQ(withCounters(*salvaged), 50);

    // A second damage: the first backup stays as it was.
    dir.write("小车.tk", "garbage");
    report = BankUpgrade::apply(dir.file("shipped.tk"), dir.file("小车.tk"));
    ASSERT_EQ(report.outcome, BankUpgrade::Outcome::Salvaged);
    EXPECT_EQ(report.damage, FileProblem::NotABank);
    EXPECT_EQ(report.backup, dir.file("小车.tk.bak.2"));
    EXPECT_EQ(dir.read("小车.tk.bak"), cut);
    EXPECT_EQ(dir.read("小车.tk.bak.2"), "garbage");
}

TEST(BackupFiles, NumbersOnNeverReplacesACopyAndKeepsTheLastFive) {
    TempDir dir;
    const std::string file = dir.file("客车.tk");
    // Names that look like copies but are none stay out of the count.
    for (const char* other : {"客车.tk.bak.0", "客车.tk.bak.x", "客车.tk.bak.02", "客车.tk.bakery", "客车.tk.bak.1"})
        dir.write(other, "not a copy");
    for (int round = 1; round <= 8; ++round) {
        std::string written;
        ASSERT_EQ(BackupFiles::keep(file, BackupFiles::kBankMark, "copy " + std::to_string(round), written), "");
        EXPECT_EQ(written, BackupFiles::pathOf(file, BackupFiles::kBankMark, round));
    }
    EXPECT_EQ(BackupFiles::numbers(file, BackupFiles::kBankMark), (std::vector<int>{4, 5, 6, 7, 8}));
    for (int round = 4; round <= 8; ++round)
        EXPECT_EQ(dir.read(fs::path(BackupFiles::pathOf(file, BackupFiles::kBankMark, round)).filename().string()),
                  "copy " + std::to_string(round));
    for (const char* other : {"客车.tk.bak.0", "客车.tk.bak.x", "客车.tk.bak.02", "客车.tk.bakery", "客车.tk.bak.1"})
        EXPECT_EQ(dir.read(other), "not a copy") << other;

    // A file moved aside takes the next number too, whatever it holds.
    dir.write("sys.dat", "state");
    ::chmod(dir.file("sys.dat").c_str(), 0);
    std::string movedTo;
    ASSERT_EQ(BackupFiles::moveAside(dir.file("sys.dat"), BackupFiles::kUnreadableMark, movedTo), "");
    EXPECT_EQ(movedTo, dir.file("sys.dat.unreadable"));
    EXPECT_FALSE(fs::exists(dir.file("sys.dat")));
    dir.write("sys.dat", "again");
    ASSERT_EQ(BackupFiles::moveAside(dir.file("sys.dat"), BackupFiles::kUnreadableMark, movedTo), "");
    EXPECT_EQ(movedTo, dir.file("sys.dat.unreadable.2"));
    ::chmod(dir.file("sys.dat.unreadable").c_str(), 0644);
    EXPECT_EQ(dir.read("sys.dat.unreadable"), "state");
}
