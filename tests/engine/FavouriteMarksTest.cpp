// Stars of the loaded bank through a real journal file: what a new start
// finds, what the mastery review reads from the same journal.
#include <gtest/gtest.h>

#include "data/AnswerJournal.h"
#include "data/BankGenerator.h"
#include "engine/FavouriteMarks.h"
#include "engine/FiledLists.h"
#include "engine/MasteryReview.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;

namespace {

const std::string kCar = "TKxiaoche";

AnswerJournal openJournal(const std::string& path) {
    auto j = AnswerJournal::open(path);
    if (!j) ADD_FAILURE() << j.error();
    return std::move(*j);
}

} // namespace

TEST(FavouriteMarks, StarsOfABankAreFoundAgainAfterARestartAndListed) {
    TempDir dir;
    const std::string path = dir.file("journal.db");
    Bank bank = BankGenerator::make(20, 4);
    const std::int32_t first = bank.records[3].id, second = bank.records[11].id, third = bank.records[7].id;
    {
        AnswerJournal journal = openJournal(path);
        FavouriteMarks marks;
        marks.bankOpened(&journal, kCar);
        EXPECT_TRUE(marks.toggle(first, 1));
        EXPECT_TRUE(marks.toggle(second, 2));
        EXPECT_TRUE(marks.toggle(third, 3));
        EXPECT_TRUE(marks.toggle(third, 4)); // taken away again
        EXPECT_TRUE(marks.isStarred(first));
        EXPECT_FALSE(marks.isStarred(third));
    }
    AnswerJournal journal = openJournal(path);
    FavouriteMarks marks;
    marks.bankOpened(&journal, kCar);
    EXPECT_TRUE(marks.isStarred(first));
    EXPECT_TRUE(marks.isStarred(second));
    EXPECT_FALSE(marks.isStarred(third));
    const std::vector<int> list = FiledLists::favourites(bank, marks.ids());
    ASSERT_EQ(list.size(), 2u);
    // Another bank of the same journal has stars of its own.
    marks.bankOpened(&journal, "TKkeche");
    EXPECT_TRUE(marks.ids().empty());
}

TEST(FavouriteMarks, WithoutAJournalNoStarIsGiven) {
    FavouriteMarks marks;
    marks.bankOpened(nullptr, kCar);
    EXPECT_FALSE(marks.toggle(5, 1));
    EXPECT_FALSE(marks.isStarred(5));
}

TEST(FavouriteMarks, TheMasteryStreakIsReadFromTheJournal) {
    TempDir dir;
    AnswerJournal journal = openJournal(dir.file("journal.db"));
    const bool answers[][2] = {{true, false}, {false, true}, {true, true}, {true, true}};
    for (const auto& pair : answers)
        for (int q = 0; q < 2; ++q) {
            JournalAnswer a;
            a.bank = kCar;
            a.questionId = q + 1;
            a.right = pair[q];
            ASSERT_GT(journal.appendAnswer(a), 0);
        }
    const auto streaks = MasteryReview::rightStreaks(journal.answers(kCar));
    EXPECT_EQ(streaks.at(1), 2); // right, wrong, right, right
    EXPECT_EQ(streaks.at(2), 3); // wrong, right, right, right
}
