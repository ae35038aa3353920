// cxbstats on learner folders: one straight from the starter state with no
// journal, and one whose journal holds a fortnight of answers. The real
// program runs; its JSON is checked against the engine's own figures.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "data/AnswerJournal.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FileBytes.h"
#include "data/StateFile.h"
#include "engine/LearnerStats.h"
#include "engine/StarterState.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;

namespace {

constexpr std::int64_t kDay = 86400000;

int cxbstats(const TempDir& out, const std::string& folder) {
    std::string cmd = std::string("'") + CXBSTATS_PATH + "' '" + folder + "' >'" + out.file("out.json") + "' 2>'" +
                      out.file("err.txt") + "'";
    int status = std::system(cmd.c_str());
    if (status == -1 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A learner folder: the starter state and a 300-question bank where it
// points.
void makeFolder(const TempDir& dir) {
    dir.mkdir("bankdata");
    auto state = StarterState::make();
    ASSERT_EQ(0, StateFile::saveState(*state, dir.file("bankdata/sys.dat")));
    Bank bank = BankGenerator::make(300, 5);
    for (int i = 1; i <= 300; ++i) bank.records[static_cast<std::size_t>(i)].id = 100 + i;
    dir.write("bankdata/小车.tk", BankFile::serialize(bank));
}

std::int64_t nowMs() {
    return static_cast<std::int64_t>(std::time(nullptr)) * 1000;
}

TEST(CxbstatsFolder, NewLearnerHasNoStatesAndALowChanceWithTheReason) {
    TempDir dir, out;
    makeFolder(dir);
    ASSERT_EQ(0, cxbstats(out, dir.path())) << out.read("err.txt");
    const std::string json = out.read("out.json");
    EXPECT_NE(std::string::npos, json.find("\"bank\": \"TKxiaoche\""));
    EXPECT_NE(std::string::npos, json.find("\"journal_answers\": 0"));
    EXPECT_NE(std::string::npos, json.find("{\"id\": 101, \"stability\": null"));
    EXPECT_NE(std::string::npos, json.find("\"due\": {\"today\": 0, \"next_days\": [0, 0, 0, 0, 0, 0, 0]}"));
    EXPECT_NE(std::string::npos, json.find("\"probability\": 0.0000"));
    EXPECT_NE(std::string::npos, json.find("300 题中还有 300 题没有答过"));
    // Reading made nothing: no journal appears in the folder.
    EXPECT_FALSE(fileExists(dir.file("bankdata/journal.db")));
}

TEST(CxbstatsFolder, JournalAnswersGiveStatesDueDaysAndTheChance) {
    TempDir dir, out;
    makeFolder(dir);
    const std::int64_t now = nowMs();
    {
        auto journal = AnswerJournal::open(dir.file("bankdata/journal.db"));
        ASSERT_TRUE(journal.ok()) << journal.error();
        // Every question right twice, ten and three days ago; question 101
        // wrong on the second go. Another bank's answers are left out.
        for (int round : {10, 3})
            for (int id = 101; id <= 400; ++id) {
                JournalAnswer a;
                a.bank = "TKxiaoche";
                a.questionId = id;
                a.right = !(round == 3 && id == 101);
                a.atMs = now - round * kDay + id * 1000;
                ASSERT_GT(journal->appendAnswer(a), 0);
            }
        JournalAnswer other;
        other.bank = "TKkeche";
        other.questionId = 101;
        other.atMs = now - kDay;
        ASSERT_GT(journal->appendAnswer(other), 0);
    }
    ASSERT_EQ(0, cxbstats(out, dir.path())) << out.read("err.txt");
    const std::string json = out.read("out.json");
    EXPECT_NE(std::string::npos, json.find("\"journal_answers\": 600"));
    EXPECT_EQ(std::string::npos, json.find("\"stability\": null"));

    auto stats = LearnerStats::read(dir.path(), now);
    ASSERT_TRUE(stats.ok()) << stats.error();
    ASSERT_EQ(300u, stats->questions.size());
    EXPECT_EQ(101, stats->questions[0].id);
    // The lapse leaves question 101 weak, due today; the rest are due later.
    EXPECT_LT(stats->questions[0].stability, 1.0);
    EXPECT_GT(stats->questions[1].stability, 5.0);
    EXPECT_EQ(1, stats->due[0]);
    int later = 0;
    for (std::size_t d = 1; d < stats->due.size(); ++d) later += stats->due[d];
    // Right again after a week: S ≈ 2.3065·(1 + 6.5026·8.8819·0.8700·0.1651) ≈ 21.5
    // days, so none falls due within the week.
    EXPECT_EQ(0, later);
    EXPECT_GT(stats->questions[1].dueMs, now + 14 * kDay);
    EXPECT_GT(stats->pass.probability, 0.9);
    EXPECT_EQ(100, stats->pass.examSize);
    // The tool printed the same figures.
    char buf[64];
    std::snprintf(buf, sizeof buf, "\"probability\": %.4f", stats->pass.probability);
    EXPECT_NE(std::string::npos, json.find(buf)) << json.substr(0, 400);
}

TEST(CxbstatsFolder, RefusesFoldersItCannotRead) {
    TempDir out;
    struct Case { const char* what; void (*setup)(const TempDir&); } cases[] = {
        {"no state file", [](const TempDir& d) { d.mkdir("bankdata"); }},
        {"no bank", [](const TempDir& d) {
             d.mkdir("bankdata");
             ASSERT_EQ(0, StateFile::saveState(*StarterState::make(), d.file("bankdata/sys.dat")));
         }},
        {"a journal that is no database", [](const TempDir& d) {
             makeFolder(d);
             d.write("bankdata/journal.db", std::string(4096, 'x'));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        c.setup(dir);
        EXPECT_EQ(1, cxbstats(out, dir.path()));
        EXPECT_NE(std::string::npos, out.read("err.txt").find("cxbstats: cannot read"));
    }
    EXPECT_EQ(2, cxbstats(out, "--help"));
}

} // namespace
