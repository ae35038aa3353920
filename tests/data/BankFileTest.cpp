#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "support/OrdinaryUser.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::OrdinaryUser;
using cxb::test::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeader = 232;
constexpr std::size_t kRecord = 2260;

std::string withCount(std::string bytes, std::int32_t count) {
    std::memcpy(bytes.data(), &count, sizeof count);
    return bytes;
}

// A bank file of `count` questions whose every other byte is random.
std::string randomBankBytes(std::int32_t count, std::uint32_t seed, std::size_t size = 0) {
    std::mt19937 rng(seed);
    if (size == 0) size = kHeader + kRecord * (static_cast<std::size_t>(count) + 1);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
    return withCount(bytes, count);
}

std::vector<std::string> folderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
}

class BankStoreTest : public ::testing::Test {
protected:
    void TearDown() override { AtomicFile::setWriteHook({}); }
    TempDir dir;
};

} // namespace

TEST(BankFile, SizeFollowsTheQuestionCount) {
    EXPECT_EQ(BankFile::fileSize(0), 2492u);
    EXPECT_EQ(BankFile::fileSize(1), 4752u);
    EXPECT_EQ(BankFile::fileSize(725), 1640992u);
    EXPECT_EQ(BankFile::fileSize(1999), 4520232u);
    for (int n : {0, 1, 725, 1999}) {
        SCOPED_TRACE(n);
        std::string bytes = BankFile::serialize(BankGenerator::make(n));
        EXPECT_EQ(bytes.size(), kHeader + kRecord * static_cast<std::size_t>(n + 1));
        std::int32_t count;
        std::memcpy(&count, bytes.data(), 4);
        EXPECT_EQ(count, n);
    }
}

TEST(BankFile, ParseThenSerializeIsByteExact) {
    // Random bytes everywhere: record 0, the uninterpreted header bytes 4..41,
    // the record bytes 4..35 and whatever follows a text's terminator.
    for (std::int32_t count : {0, 1, 2, 37, 725}) {
        SCOPED_TRACE(count);
        std::string bytes = randomBankBytes(count, 1000u + static_cast<std::uint32_t>(count));
        auto bank = BankFile::parse(bytes);
        ASSERT_TRUE(bank.ok()) << bank.error();
        EXPECT_EQ(bank->questionCount(), count);
        EXPECT_TRUE(BankFile::serialize(*bank) == bytes);
    }
}

TEST(BankFile, FieldsAreReadFromTheirOffsets) {
    std::string bytes(BankFile::fileSize(2), '\0');
    bytes = withCount(bytes, 2);
    std::memcpy(&bytes[42], "author", 6);
    std::memcpy(&bytes[172], "bankdata\\b.png", 14);
    const std::size_t r2 = kHeader + kRecord * 2;
    const std::int32_t id = 5150, type = 3, answer = 22, counters[3] = {7, 8, 9};
    std::memcpy(&bytes[r2], &id, 4);
    std::memcpy(&bytes[r2 + 36], &type, 4);
    std::memcpy(&bytes[r2 + 44], "text", 4);
    std::memcpy(&bytes[r2 + 1044], &answer, 4);
    std::memcpy(&bytes[r2 + 1048], "pics\\p.png", 10);
    std::memcpy(&bytes[r2 + 1248], "why", 3);
    std::memcpy(&bytes[r2 + 2248], counters, 12);
    auto bank = BankFile::parse(bytes);
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(readField(bank->header.bankAuthor), "author");
    EXPECT_EQ(readField(bank->header.bankPicture), "bankdata\\b.png");
    const QuestionRecord& q = bank->records[2];
    EXPECT_EQ(q.id, 5150);
    EXPECT_EQ(q.type, kMultipleChoice);
    EXPECT_EQ(readField(q.text), "text");
    EXPECT_EQ(q.answer, 22);
    EXPECT_EQ(readField(q.picture), "pics\\p.png");
    EXPECT_EQ(readField(q.explanation), "why");
    EXPECT_EQ(q.rightCount, 7);
    EXPECT_EQ(q.wrongCount, 8);
    EXPECT_EQ(q.answerCount, 9);
    EXPECT_EQ(bank->findById(5150), 2);
}

TEST(BankFile, TrailingBytesAreIgnoredAndNotWrittenBack) {
    std::string bytes = randomBankBytes(3, 5);
    auto bank = BankFile::parse(bytes + std::string(5000, '\x7F'));
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(bank->questionCount(), 3);
    EXPECT_TRUE(BankFile::serialize(*bank) == bytes);
    // Records past the count stay empty.
    for (std::size_t i = 4; i < bank->records.size(); i += 97)
        EXPECT_EQ(bank->records[i].id, 0) << i;
}

TEST(BankFile, BrokenFilesAreRefused) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string big = randomBankBytes(0, 9, BankFile::fileSize(1999) + 10);
    const Case cases[] = {
        {"empty", ""},
        {"four bytes", withCount(std::string(4, '\0'), 0)},
        {"one byte short of a header", withCount(std::string(231, '\0'), 0)},
        {"count -1", withCount(big, -1)},
        {"count 2000", withCount(big, 2000)},
        {"count 2001", withCount(big, 2001)},
        {"count INT_MAX", withCount(big, INT_MAX)},
        {"count INT_MIN", withCount(big, INT_MIN)},
        {"header only, count 0", withCount(std::string(232, '\0'), 0)},
        {"one byte short of count 0", randomBankBytes(0, 1, BankFile::fileSize(0) - 1)},
        {"one byte short of count 1", randomBankBytes(1, 1, BankFile::fileSize(1) - 1)},
        {"one byte short of count 725", randomBankBytes(725, 1, BankFile::fileSize(725) - 1)},
        {"one byte short of count 1999", randomBankBytes(1999, 1, BankFile::fileSize(1999) - 1)},
        {"count 726 in a file of 725", randomBankBytes(726, 1, BankFile::fileSize(725))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bank = BankFile::parse(c.bytes);
        EXPECT_FALSE(bank.ok());
        EXPECT_FALSE(bank.error().empty());
    }
}

TEST(BankFile, EveryTruncationOfASmallBankIsRefused) {
    const std::string bytes = BankFile::serialize(BankGenerator::make(2, 77));
    ASSERT_EQ(bytes.size(), BankFile::fileSize(2));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        auto bank = BankFile::parse(std::string_view(bytes).substr(0, n));
        ASSERT_FALSE(bank.ok()) << "accepted " << n << " bytes";
        ASSERT_FALSE(bank.error().empty()) << n;
    }
    EXPECT_TRUE(BankFile::parse(bytes).ok());
}

TEST(BankFile, LimitsOfTheCountAreAccepted) {
    auto empty = BankFile::parse(withCount(std::string(BankFile::fileSize(0), '\0'), 0));
    ASSERT_TRUE(empty.ok()) << empty.error();
    EXPECT_EQ(empty->questionCount(), 0);
    EXPECT_EQ(empty->records.size(), static_cast<std::size_t>(Bank::kCapacity));

    std::string full = BankFile::serialize(BankGenerator::make(1999, 3));
    auto bank = BankFile::parse(full);
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(bank->questionCount(), 1999);
    EXPECT_TRUE(BankFile::serialize(*bank) == full);
}

TEST(Bank, QuestionCountStaysWithinItsRange) {
    Bank bank;
    struct Case {
        std::int32_t stored;
        int usable;
    };
    for (const Case& c : {Case{INT_MIN, 0}, Case{-1, 0}, Case{0, 0}, Case{1, 1}, Case{1999, 1999},
                          Case{2000, 1999}, Case{INT_MAX, 1999}}) {
        SCOPED_TRACE(c.stored);
        bank.header.questionCount = c.stored;
        EXPECT_EQ(bank.questionCount(), c.usable);
        // What is written always agrees with the records that are written.
        std::string bytes = BankFile::serialize(bank);
        EXPECT_EQ(bytes.size(), BankFile::fileSize(c.usable));
        EXPECT_TRUE(BankFile::parse(bytes).ok());
    }
}

TEST(Bank, FindByIdLooksOnlyAtTheQuestions) {
    Bank bank;
    bank.header.questionCount = 4;
    const std::int32_t ids[] = {0, 10, 20, 10, 40};
    for (int i = 1; i <= 4; ++i) bank.records[static_cast<std::size_t>(i)].id = ids[i];
    bank.records[0].id = 99;  // record 0 is not a question
    bank.records[5].id = 50;  // past the count
    EXPECT_EQ(bank.findById(10), 1); // the first of two
    EXPECT_EQ(bank.findById(20), 2);
    EXPECT_EQ(bank.findById(40), 4);
    EXPECT_EQ(bank.findById(99), 0);
    EXPECT_EQ(bank.findById(50), 0);
    EXPECT_EQ(bank.findById(-1), 0);
    bank.header.questionCount = -5;
    EXPECT_EQ(bank.findById(10), 0);
}

TEST(BankGenerator, MakesValidBanksOfAnySize) {
    for (int n : {0, 1, 50, 1999}) {
        SCOPED_TRACE(n);
        Bank bank = BankGenerator::make(n);
        EXPECT_EQ(bank.questionCount(), n);
        int previous = 0;
        for (int i = 1; i <= n; ++i) {
            const QuestionRecord& q = bank.records[static_cast<std::size_t>(i)];
            ASSERT_GT(q.id, previous);
            previous = q.id;
            ASSERT_GE(q.type, 1);
            ASSERT_LE(q.type, 3);
            ASSERT_FALSE(readField(q.text).empty());
            ASSERT_EQ(bank.findById(q.id), i);
        }
    }
    EXPECT_EQ(BankGenerator::make(-3).questionCount(), 0);
    EXPECT_EQ(BankGenerator::make(5000).questionCount(), 1999);
}

TEST_F(BankStoreTest, StoreThenOpenIsByteExact) {
    std::string bytes = randomBankBytes(725, 42);
    auto bank = BankFile::parse(bytes);
    ASSERT_TRUE(bank.ok());
    ASSERT_EQ(BankFile::store(*bank, dir.file("car.tk")), "");
    EXPECT_TRUE(dir.read("car.tk") == bytes);
    auto back = BankFile::open(dir.file("car.tk"));
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_TRUE(BankFile::serialize(*back) == bytes);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"car.tk"});
}

TEST_F(BankStoreTest, OpenReportsThePath) {
    auto missing = BankFile::open(dir.file("none.tk"));
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("none.tk"), std::string::npos);

    dir.write("short.tk", randomBankBytes(5, 1, BankFile::fileSize(5) - 1));
    auto shortFile = BankFile::open(dir.file("short.tk"));
    EXPECT_FALSE(shortFile.ok());
    EXPECT_NE(shortFile.error().find("short.tk"), std::string::npos);

    dir.mkdir("folder.tk");
    EXPECT_FALSE(BankFile::open(dir.file("folder.tk")).ok());
}

TEST_F(BankStoreTest, FailedStoreLeavesTheOldFile) {
    const std::string old = randomBankBytes(10, 8);
    const Bank fresh = BankGenerator::make(725);
    struct Case {
        const char* name;
        bool folderInPlace;
        std::function<bool(const std::string&, std::size_t)> hook;
    };
    const Case cases[] = {
        {"disk full after 1 MiB", false, [](const std::string&, std::size_t at) { return at < (1u << 20); }},
        {"disk full at once", false, [](const std::string&, std::size_t) { return false; }},
        {"file replaced by a folder", true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir d;
        if (c.folderInPlace) {
            d.mkdir("car.tk");
            d.write("car.tk/inside", old);
        } else {
            d.write("car.tk", old);
        }
        AtomicFile::setWriteHook(c.hook);
        std::string why = BankFile::store(fresh, d.file("car.tk"));
        AtomicFile::setWriteHook({});
        EXPECT_FALSE(why.empty());
        if (c.folderInPlace) {
            EXPECT_TRUE(fs::is_directory(d.file("car.tk")));
            EXPECT_TRUE(d.read("car.tk/inside") == old);
        } else {
            EXPECT_TRUE(d.read("car.tk") == old) << "old bank changed";
        }
        EXPECT_EQ(folderEntries(d.path()), std::vector<std::string>{"car.tk"});
    }
}

TEST_F(BankStoreTest, StoreIntoAMissingFolderFails) {
    EXPECT_FALSE(BankFile::store(BankGenerator::make(3), dir.file("gone/car.tk")).empty());
    EXPECT_FALSE(fs::exists(dir.file("gone")));
}

TEST_F(BankStoreTest, StoreIntoAReadOnlyFolderFails) {
    // Root writes into read-only folders: the store runs as an ordinary user.
    OrdinaryUser user;
    if (!user.available()) GTEST_SKIP() << "no ordinary user to run as";
    const std::string old = randomBankBytes(4, 2);
    dir.write("car.tk", old);
    user.own(dir.path());
    user.own(dir.file("car.tk"));
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const Bank fresh = BankGenerator::make(3);
    const int stored = user.run([&] { return BankFile::store(fresh, dir.file("car.tk")).empty() ? 0 : 1; });
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(stored, 1);
    EXPECT_TRUE(dir.read("car.tk") == old);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"car.tk"});
}
