// The lists by chapter and topic, at random and from the stars, and the
// star of the question on show, through the trainer on real files: the
// state file, the bank and the answer journal of a program folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/QuestionFiling.h"
#include "engine/ChosenModes.h"
#include "engine/FiledPractice.h"
#include "engine/StarToggle.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

const int kSigns = QuestionFiling::topicIndex("标志");
const int kMarkings = QuestionFiling::topicIndex("标线");
const int kSignals = QuestionFiling::chapterIndex("道路交通信号");
const int kLaw = QuestionFiling::chapterIndex("道路交通安全法律、法规和规章");

// 30 questions: ids 1..30 stored in reverse, so the bank's order is never
// the sequential one. Every third is a sign, every third after it a
// marking, the rest law (驾驶证).
Bank filedBank() {
    Bank bank = plainBank(30);
    std::reverse(bank.records.begin() + 1, bank.records.begin() + 31);
    for (int i = 1; i <= 30; ++i) {
        QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        const int kind = r.id % 3;
        if (kind == 0) QuestionFiling::store(r, {kSignals, kSigns});
        else if (kind == 1) QuestionFiling::store(r, {kSignals, kMarkings});
        else QuestionFiling::store(r, {kLaw, QuestionFiling::topicIndex("驾驶证")});
    }
    return bank;
}

std::vector<int> signIds() {
    std::vector<int> ids;
    for (int id = 3; id <= 30; id += 3) ids.push_back(id);
    return ids;
}

std::vector<int> sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
}

class FiledPracticeTest : public TrainerTest {
protected:
    // The row of the chapter window with this name.
    ChapterRow row(const std::string& name) {
        for (const ChapterRow& r : t().filed.rows())
            if (r.name == name) return r;
        ADD_FAILURE() << "no row " << name;
        return {};
    }
    // Ends the run as the window's close does and starts a new one in the same folder.
    void restart() {
        t().closeQuery();
        trainer.reset();
        win.forget();
        trainer = std::make_unique<Trainer>(win, dir.path());
        trainer->construct();
        trainer->formCreate();
    }
    // Shows the list entry with this id.
    void showId(int id) {
        for (int i = 1; i <= s().listCount; ++i)
            if (entry(i).id == id) return t().view.showQuestion(i);
        ADD_FAILURE() << "id " << id << " is not in the list";
    }
};

} // namespace

TEST_F(FiledPracticeTest, ATopicRowRunsItsQuestionsInSequentialOrderAndAChapterRowAllOfIts) {
    start(filedBank());
    EXPECT_EQ(t().filed.chooseRow(row("标志"), false, 0), 10);
    EXPECT_EQ(listIds(), signIds());
    EXPECT_EQ(s().modeCode, ChosenModes::kChapter);
    EXPECT_NE(win.caption.find("标志"), std::string::npos);
    // 重新出题 builds the same list again.
    t().modes.Button2Click();
    EXPECT_EQ(listIds(), signIds());

    EXPECT_EQ(t().filed.chooseRow(row("道路交通信号"), false, 0), 20);
    const std::vector<int> chapter = listIds();
    for (int id : chapter) EXPECT_NE(id % 3, 2) << id;
    EXPECT_TRUE(std::is_sorted(chapter.begin(), chapter.end()));
}

TEST_F(FiledPracticeTest, RandomOverATopicGivesEachOfItsQuestionsOnceInAnOrderFixedByTheSeed) {
    start(filedBank());
    EXPECT_EQ(t().filed.chooseRow(row("标志"), true, 42), 10);
    const std::vector<int> first = listIds();
    EXPECT_EQ(sorted(first), signIds());
    EXPECT_EQ(s().modeCode, ChosenModes::kRandom);
    EXPECT_NE(first, signIds()) << "ten questions left in sequential order by a shuffle";

    // The same seed, the same order; 重新出题 draws another of the same questions.
    t().filed.chooseRow(row("标志"), true, 42);
    EXPECT_EQ(listIds(), first);
    t().modes.Button2Click();
    EXPECT_EQ(sorted(listIds()), signIds());
    EXPECT_NE(listIds(), first);
}

TEST_F(FiledPracticeTest, RandomPracticeDrawsTheWholeBank) {
    start(filedBank());
    EXPECT_EQ(t().filed.random(7), 30);
    std::vector<int> all(30);
    for (int i = 0; i < 30; ++i) all[static_cast<std::size_t>(i)] = i + 1;
    EXPECT_EQ(sorted(listIds()), all);
    EXPECT_EQ(s().modeCode, ChosenModes::kRandom);
    EXPECT_NE(win.caption.find(FiledPractice::kRandomTitle), std::string::npos);
}

TEST_F(FiledPracticeTest, ARowWithoutQuestionsStartsNothing) {
    start(filedBank());
    t().filed.chooseRow(row("标志"), false, 0);
    const ChapterRow empty = row("安全行车、文明驾驶基础知识");
    EXPECT_FALSE(empty.choosable());
    EXPECT_EQ(t().filed.chooseRow(empty, false, 0), 0);
    EXPECT_EQ(t().filed.chooseRow(empty, true, 1), 0);
    EXPECT_EQ(listIds(), signIds()); // the list on show stays
}

TEST_F(FiledPracticeTest, TheStarFollowsTheQuestionOnShowAndTheJournal) {
    start(filedBank());
    t().modes.SunXuClick();
    showId(5);
    EXPECT_TRUE(win.lastView().starEnabled);
    EXPECT_FALSE(win.lastView().starred);
    EXPECT_EQ(win.lastView().starCaption, StarToggle::kStar);

    EXPECT_TRUE(t().star.toggleStar());
    EXPECT_TRUE(win.checked[Ctl::btnxingbiao]);
    EXPECT_EQ(win.text[Ctl::btnxingbiao], StarToggle::kStarred);
    showId(6);
    EXPECT_FALSE(win.lastView().starred);
    showId(5);
    EXPECT_TRUE(win.lastView().starred);
    EXPECT_EQ(win.lastView().starCaption, StarToggle::kStarred);
    // The analysis of the question says so too.
    EXPECT_TRUE(t().review.analysisOf(5, nullptr).starred);
    EXPECT_EQ(t().review.analysisOf(5, nullptr).starText, StarToggle::analysisText(true));
    EXPECT_EQ(t().review.analysisOf(6, nullptr).starText, StarToggle::analysisText(false));

    // A second toggle takes the star away again.
    EXPECT_TRUE(t().star.toggleStar());
    EXPECT_FALSE(win.checked[Ctl::btnxingbiao]);
    EXPECT_EQ(win.text[Ctl::btnxingbiao], StarToggle::kStar);
    EXPECT_TRUE(win.messages.empty());
}

TEST_F(FiledPracticeTest, StarringInAMockExamChangesNeitherAnswersNorScore) {
    start(filedBank(), [](Sfile& st) { st.examCount = 5; });
    t().modes.KaoShiClick();
    const int id = s().shown()->id;
    EXPECT_TRUE(win.lastView().starEnabled);
    EXPECT_TRUE(t().star.toggleStar());
    EXPECT_EQ(s().shown()->userAnswer, 0);
    EXPECT_EQ(s().listAnswered, 0);
    EXPECT_TRUE(t().stars.isStarred(id));
}

TEST_F(FiledPracticeTest, AnEmptyListHasNoQuestionToStar) {
    start(filedBank());
    t().filed.chooseRow(row("标志"), false, 0);
    s().listCount = 0;
    t().view.showQuestion(0);
    EXPECT_FALSE(win.lastView().starEnabled);
    win.forget();
    EXPECT_FALSE(t().star.toggleStar());
    EXPECT_TRUE(win.messages.empty());
    EXPECT_TRUE(t().stars.ids().empty());
}

TEST_F(FiledPracticeTest, WithoutAJournalTheStarIsRefusedWithAMessage) {
    // A folder where the journal is a directory: it cannot be opened.
    writeFiles(filedBank());
    std::filesystem::create_directory(path("bankdata/journal.db"));
    trainer = std::make_unique<Trainer>(win, dir.path());
    trainer->construct();
    trainer->formCreate();
    t().modes.SunXuClick();
    win.forget();
    EXPECT_FALSE(t().star.toggleStar());
    EXPECT_EQ(win.messages, std::vector<std::string>{StarToggle::kNotKept});
    EXPECT_FALSE(win.checked[Ctl::btnxingbiao]);
    EXPECT_EQ(win.text[Ctl::btnxingbiao], StarToggle::kStar);
    EXPECT_TRUE(t().stars.ids().empty());
}

TEST_F(FiledPracticeTest, TheFavouritesAreListedInSequentialOrderAfterARestart) {
    start(filedBank());
    t().modes.SunXuClick();
    for (int id : {17, 4, 23}) {
        showId(id);
        ASSERT_TRUE(t().star.toggleStar());
    }
    showId(23);
    ASSERT_TRUE(t().star.toggleStar()); // taken away again

    restart();
    EXPECT_EQ(t().filed.favourites(), 2);
    EXPECT_EQ(listIds(), (std::vector<int>{4, 17}));
    EXPECT_EQ(s().modeCode, ChosenModes::kFavourites);
    EXPECT_NE(win.caption.find(FiledPractice::kFavouritesTitle), std::string::npos);
    EXPECT_TRUE(win.lastView().starred);
    // Unstarred in the list, a question leaves it at 重新出题.
    ASSERT_TRUE(t().star.toggleStar());
    t().modes.Button2Click();
    EXPECT_EQ(listIds(), std::vector<int>{17});
}

TEST_F(FiledPracticeTest, WithoutFavouritesTheLearnerIsToldHowToStarOne) {
    start(filedBank());
    t().filed.chooseRow(row("标志"), false, 0);
    win.forget();
    EXPECT_EQ(t().filed.favourites(), 0);
    EXPECT_EQ(win.messages, std::vector<std::string>{FiledPractice::kNoFavourites});
    EXPECT_EQ(listIds(), signIds()); // the list on show stays
    EXPECT_EQ(s().modeCode, ChosenModes::kChapter);
}

TEST_F(FiledPracticeTest, StarsBelongToTheirBank) {
    // Extra banks: each is named by its path.
    start(filedBank(), [](Sfile& st) { st.bankChoice = 4; });
    t().modes.SunXuClick();
    showId(9);
    ASSERT_TRUE(t().star.toggleStar());
    // Another bank file in the same folder: none of its questions is starred.
    ASSERT_EQ("", BankFile::store(filedBank(), path("bankdata/y.tk")));
    writeField(s().state->bankPath, "bankdata\\y.tk");
    t().reloadBank();
    EXPECT_TRUE(t().stars.ids().empty());
    writeField(s().state->bankPath, "bankdata\\x.tk");
    t().reloadBank();
    EXPECT_TRUE(t().stars.isStarred(9));
}
