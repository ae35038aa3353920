// The learner's favourites in the answer journal: kept by bank and id,
// committed at once, and brought into a journal of the first layout.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/AnswerJournal.h"
#include "support/JournalProbe.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
using cxb::test::openJournal;
using cxb::test::sqliteValue;

namespace {

const std::string kCar = "TKxiaoche";
const std::string kBus = "TKkeche";
const std::string kExtra = "\xcd\xe2\xbc\xd3.tk"; // 外加.tk in GBK

void runSql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

JournalAnswer answer(const std::string& bank, int id, bool right) {
    JournalAnswer a;
    a.bank = bank;
    a.questionId = id;
    a.right = right;
    a.given = 1;
    a.atMs = 1700000000000LL + id;
    return a;
}

} // namespace

TEST(JournalFavourites, StarredQuestionsByBankInTheOrderStarredAcrossOpens) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    {
        AnswerJournal j = openJournal(path);
        EXPECT_TRUE(j.favourites(kCar).empty());
        EXPECT_TRUE(j.setFavourite(kCar, 30, true, 3000));
        EXPECT_TRUE(j.setFavourite(kCar, 5, true, 4000));
        EXPECT_TRUE(j.setFavourite(kCar, 12, true, 5000));
        EXPECT_TRUE(j.setFavourite(kCar, 30, true, 9000)); // starred again: keeps its place
        EXPECT_TRUE(j.setFavourite(kBus, 5, true, 1000));
        EXPECT_TRUE(j.setFavourite(kExtra, 7, true, 1000));
        EXPECT_TRUE(j.setFavourite(kCar, 12, false, 6000));
        EXPECT_TRUE(j.setFavourite(kCar, 99, false, 6000)); // never starred
        EXPECT_TRUE(j.setFavourite("TKhuoche", 1, false, 6000)); // a bank never seen
    }
    AnswerJournal j = openJournal(path);
    EXPECT_EQ(j.favourites(kCar), (std::vector<std::int32_t>{30, 5}));
    EXPECT_EQ(j.favourites(kBus), (std::vector<std::int32_t>{5}));
    EXPECT_EQ(j.favourites(kExtra), (std::vector<std::int32_t>{7}));
    EXPECT_TRUE(j.favourites("TKhuoche").empty());
    // Taking a star away from a bank never seen wrote no bank row for it.
    EXPECT_EQ(sqliteValue(path, "SELECT count(*) FROM banks"), "3");
}

// A star is committed the moment it is given: a process that dies right
// after it leaves it in the file.
TEST(JournalFavourites, AStarSurvivesTheProgramsDeath) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    { AnswerJournal j = openJournal(path); }
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto j = AnswerJournal::open(path);
        if (!j || !j->setFavourite(kCar, 42, true, 1)) _exit(2);
        _exit(0); // no destructor, no checkpoint
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(openJournal(path).favourites(kCar), (std::vector<std::int32_t>{42}));
}

// A journal written before favourites existed opens, keeps every answer,
// gains the table and the new layout number.
TEST(JournalFavourites, AJournalOfTheFirstLayoutGainsFavourites) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    {
        AnswerJournal j = openJournal(path);
        for (int id = 1; id <= 5; ++id) ASSERT_GT(j.appendAnswer(answer(kCar, id, id % 2 == 0)), 0);
    }
    // What the first layout's program left: the same tables but favourites.
    runSql(path, "DROP TABLE favourites; PRAGMA user_version=1;");
    ASSERT_EQ(sqliteValue(path, "PRAGMA user_version"), "1");
    {
        AnswerJournal j = openJournal(path);
        EXPECT_EQ(j.answers(kCar).size(), 5u);
        EXPECT_TRUE(j.favourites(kCar).empty());
        EXPECT_TRUE(j.setFavourite(kCar, 3, true, 10));
        ASSERT_GT(j.appendAnswer(answer(kCar, 6, true)), 0);
    }
    EXPECT_EQ(sqliteValue(path, "PRAGMA user_version"), std::to_string(AnswerJournal::kVersion));
    AnswerJournal j = openJournal(path);
    EXPECT_EQ(j.favourites(kCar), (std::vector<std::int32_t>{3}));
    EXPECT_EQ(j.answers(kCar).size(), 6u);
}
