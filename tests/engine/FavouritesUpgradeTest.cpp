// A learner's bank brought up to a newer shipped bank keeps its stars: they
// live in the journal by the bank's tag and the questions' ids, so the
// upgraded file lists every starred question it still holds.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/BankFile.h"
#include "data/BankUpgrade.h"
#include "engine/ChosenModes.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

class FavouritesUpgrade : public TrainerTest {
protected:
    void starIds(std::initializer_list<int> ids) {
        t().modes.SunXuClick();
        for (int id : ids)
            for (int i = 1; i <= s().listCount; ++i)
                if (entry(i).id == id) {
                    t().view.showQuestion(i);
                    ASSERT_TRUE(t().star.toggleStar()) << id;
                }
    }
    // The program ends as its close does.
    void close() {
        t().closeQuery();
        trainer.reset();
    }
    void startAgain() {
        trainer = std::make_unique<Trainer>(win, dir.path());
        trainer->construct();
        trainer->formCreate();
    }
};

// The newer edition: question 17 dropped, 31 and 32 added, the file order reversed.
Bank newerEdition() {
    Bank bank = plainBank(32);
    Bank out = bank;
    int n = 0;
    for (int i = 32; i >= 1; --i) {
        if (i == 17) continue;
        out.records[static_cast<std::size_t>(++n)] = bank.records[static_cast<std::size_t>(i)];
    }
    out.header.questionCount = n;
    return out;
}

} // namespace

TEST_F(FavouritesUpgrade, TheUpgradedBankStillListsTheStarredQuestionsItHolds) {
    start(plainBank(30));
    starIds({23, 4, 17});
    answerAt(1, 1); // a counter the upgrade carries over
    close();

    ASSERT_EQ("", BankFile::store(newerEdition(), path("shipped.tk")));
    const BankUpgrade::Report report = BankUpgrade::apply(path("shipped.tk"), path("bankdata/x.tk"));
    ASSERT_EQ(report.outcome, BankUpgrade::Outcome::Upgraded) << report.error;
    EXPECT_EQ(report.dropped, 1);
    EXPECT_EQ(report.added, 2);

    startAgain();
    ASSERT_EQ(s().questionCount(), 31);
    EXPECT_EQ(t().filed.favourites(), 2);
    EXPECT_EQ(listIds(), (std::vector<int>{4, 23}));
    EXPECT_EQ(s().modeCode, ChosenModes::kFavourites);
    // The dropped question's star stays in the journal, should it come back.
    EXPECT_TRUE(t().stars.isStarred(17));
}
