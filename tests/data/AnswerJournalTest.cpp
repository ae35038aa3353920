// The answer journal as a file: what it keeps across opens and crashes,
// which files it refuses, and how the start-up settles an interrupted store
// and puts answers and exams back.
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/AnswerJournal.h"
#include "data/BankFile.h"
#include "data/Checksum.h"
#include "data/FixedField.h"
#include "data/JournalReplay.h"
#include "data/StateFile.h"
#include "support/FaultInjection.h"
#include "support/JournalProbe.h"
#include "support/TempDir.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using cxb::test::TempDir;
using cxb::test::openJournal;
using cxb::test::sqliteValue;

namespace {

const std::string kCar = "TKxiaoche";
const std::string kExtra = "\xcd\xe2\xbc\xd3.tk"; // 外加.tk in GBK

JournalAnswer answer(const std::string& bank, int id, bool right, int given = 1, int mode = 1) {
    JournalAnswer a;
    a.bank = bank;
    a.questionId = id;
    a.right = right;
    a.given = given;
    a.atMs = 1700000000000LL + id;
    a.mode = mode;
    return a;
}

void makeDatabase(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

int totalAnswers(const Bank& bank) {
    int sum = 0;
    for (int i = 1; i <= bank.questionCount(); ++i) sum += bank.records[static_cast<std::size_t>(i)].answerCount;
    return sum;
}

} // namespace

TEST(AnswerJournal, KeepsEveryAnswerInOrderPerBankAcrossOpens) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    std::vector<std::int64_t> seqs;
    {
        AnswerJournal j = openJournal(path);
        seqs.push_back(j.appendAnswer(answer(kCar, 7, true, 1, 0)));
        seqs.push_back(j.appendAnswer(answer(kExtra, 7, false, 256, 3)));
        seqs.push_back(j.appendAnswer(answer(kCar, -3, false, 6, 4)));
        seqs.push_back(j.appendAnswer(answer(kCar, INT_MAX, true, INT_MIN, 5)));
    }
    for (std::size_t i = 1; i < seqs.size(); ++i) EXPECT_GT(seqs[i], seqs[i - 1]);
    EXPECT_GT(seqs[0], 0);

    AnswerJournal j = openJournal(path);
    const auto car = j.answers(kCar);
    ASSERT_EQ(car.size(), 3u);
    EXPECT_EQ(car[0].seq, seqs[0]);
    EXPECT_EQ(car[0].questionId, 7);
    EXPECT_TRUE(car[0].right);
    EXPECT_EQ(car[0].given, 1);
    EXPECT_EQ(car[0].atMs, 1700000000007LL);
    EXPECT_EQ(car[0].mode, 0);
    EXPECT_EQ(car[1].questionId, -3);
    EXPECT_FALSE(car[1].right);
    EXPECT_EQ(car[1].given, 6);
    EXPECT_EQ(car[2].questionId, INT_MAX);
    EXPECT_EQ(car[2].given, INT_MIN);
    EXPECT_EQ(car[2].bank, kCar);
    const auto extra = j.answers(kExtra);
    ASSERT_EQ(extra.size(), 1u);
    EXPECT_EQ(extra[0].given, 256);
    EXPECT_EQ(extra[0].mode, 3);
    EXPECT_TRUE(j.answers("TKkeche").empty());
    EXPECT_EQ(j.lastSeq(kCar), seqs[3]);
    EXPECT_EQ(j.lastSeq("TKkeche"), 0);
    EXPECT_EQ(j.answersAfter(kCar, seqs[2]).size(), 1u);
}

TEST(AnswerJournal, IsAVersionedWalDatabase) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    { AnswerJournal j = openJournal(path); }
    EXPECT_EQ(sqliteValue(path, "PRAGMA user_version"), std::to_string(AnswerJournal::kVersion));
    EXPECT_EQ(sqliteValue(path, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(sqliteValue(path, "SELECT count(*) FROM sqlite_master WHERE name IN ('banks','answers','handins')"), "3");
}

TEST(AnswerJournal, AnswersCommittedBeforeAKillAreThere) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto j = AnswerJournal::open(path);
        for (int id = 1; id <= 20 && j; ++id) j->appendAnswer(answer(kCar, id, id % 3 != 0));
        ::raise(SIGKILL); // no close, no checkpoint
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    AnswerJournal j = openJournal(path);
    const auto all = j.answers(kCar);
    ASSERT_EQ(all.size(), 20u);
    EXPECT_EQ(all.back().questionId, 20);
}

TEST(AnswerJournal, RefusesFilesThatAreNotItsOwnAndLeavesThemAlone) {
    struct Case {
        const char* name;
        std::function<void(const TempDir&, const std::string&)> make;
    } cases[] = {
        {"garbage", [](const TempDir& d, const std::string&) { d.write("journal.db", std::string(5000, '\x5a')); }},
        {"a bank file", [](const TempDir& d, const std::string&) { d.write("journal.db", BankFile::serialize(test::plainBank(3))); }},
        {"header only", [](const TempDir& d, const std::string&) { d.write("journal.db", std::string("SQLite format 3\0", 16) + std::string(84, '\0')); }},
        {"a newer layout", [](const TempDir&, const std::string& p) { makeDatabase(p, ("CREATE TABLE answers(x); PRAGMA user_version=" + std::to_string(AnswerJournal::kVersion + 1) + ";").c_str()); }},
        {"another program's tables", [](const TempDir&, const std::string& p) { makeDatabase(p, "CREATE TABLE notes(text);"); }},
        {"this layout with a table gone", [](const TempDir&, const std::string& p) {
             { auto j = AnswerJournal::open(p); }
             makeDatabase(p, "DROP TABLE handins;");
         }},
        {"this layout with a column gone", [](const TempDir&, const std::string& p) {
             makeDatabase(p, "CREATE TABLE banks(id INTEGER PRIMARY KEY, tag BLOB); CREATE TABLE answers(seq INTEGER PRIMARY KEY);"
                             "CREATE TABLE handins(seq INTEGER PRIMARY KEY); PRAGMA user_version=1;");
         }},
        {"a folder", [](const TempDir& d, const std::string&) { d.mkdir("journal.db"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("journal.db");
        c.make(dir, path);
        auto bytes = [&] { return std::filesystem::is_regular_file(path) ? test::readFile(path) : "(folder)"; };
        const std::string before = bytes();
        auto j = AnswerJournal::open(path);
        EXPECT_FALSE(j.ok());
        EXPECT_FALSE(j.error().empty());
        EXPECT_TRUE(bytes() == before) << "the file was changed";
    }
    TempDir dir;
    EXPECT_FALSE(AnswerJournal::open(dir.file("no/such/folder/journal.db")).ok());
}

TEST(AnswerJournal, AnEmptyFileBecomesAJournal) {
    TempDir dir;
    dir.write("journal.db", "");
    auto j = AnswerJournal::open(dir.file("journal.db"));
    ASSERT_TRUE(j.ok()) << j.error();
    EXPECT_GT(j->appendAnswer(answer(kCar, 1, true)), 0);
}

TEST(AnswerJournal, TheStoreOfABankIsIntendedThenMarked) {
    TempDir dir;
    AnswerJournal j = openJournal(dir.file("journal.db"));
    EXPECT_EQ(j.store(kCar).appliedSeq, 0);
    EXPECT_FALSE(j.store(kCar).intended);
    const std::int64_t s1 = j.appendAnswer(answer(kCar, 1, true));
    const std::int64_t s2 = j.appendAnswer(answer(kCar, 2, false));
    ASSERT_TRUE(j.intendStore(kCar, s2, 0xfedcba9876543210ULL));
    JournalBankStore st = j.store(kCar);
    EXPECT_TRUE(st.intended);
    EXPECT_EQ(st.intendedSeq, s2);
    EXPECT_EQ(st.intendedSum, 0xfedcba9876543210ULL); // all 64 bits, the top one too
    EXPECT_EQ(st.appliedSeq, 0);
    ASSERT_TRUE(j.dropIntent(kCar));
    EXPECT_FALSE(j.store(kCar).intended);
    ASSERT_TRUE(j.intendStore(kCar, s1, 1));
    ASSERT_TRUE(j.markApplied(kCar, s1));
    st = j.store(kCar);
    EXPECT_FALSE(st.intended);
    EXPECT_EQ(st.appliedSeq, s1);
    EXPECT_EQ(j.store(kExtra).appliedSeq, 0); // each bank has its own
    ASSERT_EQ(j.answersAfter(kCar, st.appliedSeq).size(), 1u);
}

TEST(AnswerJournal, HandInsStayPendingUntilTheStateIsSaved) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    const std::string entryA(sizeof(HistoryEntry), 'a'), entryB(sizeof(HistoryEntry), 'b');
    {
        AnswerJournal j = openJournal(path);
        EXPECT_GT(j.appendHandIn(kCar, entryA, 5), 0);
        EXPECT_GT(j.appendHandIn(kExtra, entryB, 6), 0);
    }
    AnswerJournal j = openJournal(path);
    auto pending = j.pendingHandIns();
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0].entry, entryA);
    EXPECT_EQ(pending[0].bank, kCar);
    EXPECT_EQ(pending[0].atMs, 5);
    EXPECT_EQ(pending[1].bank, kExtra);
    EXPECT_LT(pending[0].seq, pending[1].seq);
    ASSERT_TRUE(j.markHandInsSaved());
    EXPECT_TRUE(j.pendingHandIns().empty());
    j.appendHandIn(kCar, entryB, 7);
    EXPECT_EQ(j.pendingHandIns().size(), 1u);
}

TEST(JournalReplay, AppliesEachAnswerToEveryQuestionOfItsId) {
    Bank bank = test::plainBank(5);
    bank.records[4].id = 2; // the same id twice
    bank.records[5].rightCount = INT_MAX;
    bank.records[5].answerCount = INT_MAX;
    const std::vector<JournalAnswer> answers = {answer(kCar, 1, true), answer(kCar, 2, false), answer(kCar, 99, true),
                                                answer(kCar, 5, true), answer(kCar, 1, false)};
    EXPECT_EQ(JournalReplay::apply(bank, answers), 4);
    EXPECT_EQ(bank.records[1].rightCount, 1);
    EXPECT_EQ(bank.records[1].wrongCount, 1);
    EXPECT_EQ(bank.records[1].answerCount, 2);
    EXPECT_EQ(bank.records[2].wrongCount, 1);
    EXPECT_EQ(bank.records[4].wrongCount, 1);
    EXPECT_EQ(bank.records[4].answerCount, 1);
    EXPECT_EQ(bank.records[5].rightCount, INT_MAX); // stays at the top, never wraps
    EXPECT_EQ(bank.records[5].answerCount, INT_MAX);
    EXPECT_EQ(bank.records[3].answerCount, 0);
}

// The close writes a bank in three steps: the intent, the file, the mark.
// Whichever step the program ends after, the next start counts every answer
// exactly once.
TEST(JournalReplay, ACloseEndedAtAnyPointCountsEveryAnswerOnce) {
    enum class EndedAfter { Answers, Intent, File, Mark };
    const struct {
        const char* name;
        EndedAfter end;
        bool storeReached;
    } cases[] = {
        {"before the close", EndedAfter::Answers, false},
        {"after the intent, the file not in place", EndedAfter::Intent, false},
        {"after the file, before the mark", EndedAfter::File, true},
        {"after the mark", EndedAfter::Mark, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        AnswerJournal j = openJournal(dir.file("journal.db"));
        // An earlier run: two answers, stored and marked.
        Bank bank = test::plainBank(4);
        for (int id : {1, 2}) j.appendAnswer(answer(kCar, id, true));
        JournalReplay::apply(bank, j.answers(kCar));
        std::string file = BankFile::serialize(bank);
        j.markApplied(kCar, j.lastSeq(kCar));
        // This run: four more, then the close.
        for (int id : {1, 3, 4, 4}) {
            j.appendAnswer(answer(kCar, id, id != 4));
            JournalReplay::apply(bank, {answer(kCar, id, id != 4)});
        }
        const std::string fresh = BankFile::serialize(bank);
        if (c.end >= EndedAfter::Intent) j.intendStore(kCar, j.lastSeq(kCar), fnv1a64(fresh));
        if (c.end >= EndedAfter::File) file = fresh;
        if (c.end >= EndedAfter::Mark) j.markApplied(kCar, j.lastSeq(kCar));

        // The next start reads the file and settles.
        Bank next = *BankFile::parse(file);
        JournalRecovery r = JournalReplay::recover(j, kCar, next, file);
        EXPECT_EQ(r.storeReached, c.storeReached);
        EXPECT_EQ(totalAnswers(next), 6);
        EXPECT_EQ(next.records[4].wrongCount, 2);
        EXPECT_EQ(next.records[1].rightCount, 2);
        EXPECT_EQ(r.answers, c.end == EndedAfter::Mark || c.end == EndedAfter::File ? 0 : 4);
        EXPECT_FALSE(j.store(kCar).intended);
        // And a second start after another crash counts nothing twice.
        Bank again = *BankFile::parse(file);
        JournalReplay::recover(j, kCar, again, file);
        EXPECT_EQ(totalAnswers(again), 6);
    }
}

TEST(JournalReplay, RestoresOnlyTheExamsTheHistoryLacks) {
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    auto exam = [](const char* when, int score) {
        HistoryEntry e{};
        writeField(e.takenAt, when);
        e.score = score;
        e.itemCount = 2;
        e.items[1] = {11, 1, 1, {}};
        e.items[2] = {12, 0, 0, {}};
        writeField(e.bankTag, "TKxiaoche");
        return e;
    };
    auto bytes = [](const HistoryEntry& e) { return std::string(reinterpret_cast<const char*>(&e), sizeof e); };
    HistoryEntry saved = exam("2026-1", 1), lost = exam("2026-2", 1);
    // In the history already, with other bytes after its written fields.
    state->historyCount = 1;
    state->history[1] = saved;
    std::memset(state->history[1].items[5].padding, 7, 3);
    state->history[1].items[150].questionId = 4444;
    std::vector<JournalHandIn> handIns = {{1, kCar, 0, bytes(saved), false},
                                          {2, kCar, 0, bytes(lost), false},
                                          {3, kCar, 0, "too short", false}};
    int missing = -1;
    EXPECT_EQ(JournalReplay::restoreHandIns(handIns, *state, &missing), 1);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(state->historyCount, 2);
    EXPECT_TRUE(JournalReplay::sameExam(state->history[2], lost));
    // Restoring again adds nothing.
    EXPECT_EQ(JournalReplay::restoreHandIns(handIns, *state), 0);
    EXPECT_EQ(state->historyCount, 2);

    // A full history has no room: the exam is reported, not dropped in silence.
    state->historyCount = Sfile::kMaxHistory;
    EXPECT_EQ(JournalReplay::restoreHandIns({{4, kCar, 0, bytes(exam("2026-3", 0)), false}}, *state, &missing), 0);
    EXPECT_EQ(missing, 1);
    EXPECT_EQ(state->historyCount, Sfile::kMaxHistory);
}

TEST(JournalReplay, SameExamComparesWhatAHandInWrites) {
    HistoryEntry a{};
    writeField(a.takenAt, "t");
    a.itemCount = 1;
    a.items[1] = {5, 2, 0, {}};
    const struct {
        const char* name;
        std::function<void(HistoryEntry&)> change;
    } changes[] = {
        {"time", [](HistoryEntry& e) { writeField(e.takenAt, "u"); }},
        {"score", [](HistoryEntry& e) { e.score = 1; }},
        {"size", [](HistoryEntry& e) { e.itemCount = 2; }},
        {"question", [](HistoryEntry& e) { e.items[1].questionId = 6; }},
        {"answer", [](HistoryEntry& e) { e.items[1].userAnswer = 3; }},
        {"judgement", [](HistoryEntry& e) { e.items[1].firstRight = 1; }},
        {"bank", [](HistoryEntry& e) { writeField(e.bankTag, "TKkeche"); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        HistoryEntry b = a;
        c.change(b);
        EXPECT_FALSE(JournalReplay::sameExam(a, b));
    }
    HistoryEntry b = a;
    b.items[2].questionId = 9; // past itemCount
    b.takenAt[10] = 'x';       // after the terminator
    EXPECT_TRUE(JournalReplay::sameExam(a, b));
}
