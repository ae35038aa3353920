// 曾经全部错题 with mastery: the setting in the state file's free byte,
// the settings dialog's model, and the review's rows and practice drawn
// from the answers the journal holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "data/StateFile.h"
#include "engine/MasterySetting.h"
#include "engine/SettingsModel.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

std::vector<int> sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
}

constexpr std::size_t kMasteryOffset = 2472782;

unsigned char byteAt(const std::string& file, std::size_t offset) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    return static_cast<unsigned char>(in.get());
}

class MasteryTest : public TrainerTest {
protected:
    // Answers question `id` in a fresh sequential list, right (A) or wrong (B).
    void answerId(int id, bool right) {
        t().modes.SunXuClick();
        for (int i = 1; i <= s().listCount; ++i)
            if (entry(i).id == id) return answerAt(i, right ? 1 : 2);
        ADD_FAILURE() << "no question " << id;
    }
    // 曾经全部错题 as the review shows it: id → what its row says of the streak.
    std::map<int, std::string> reviewRows() {
        t().review.btnErrorLianXClick();
        t().review.btnQuanBuClick();
        std::map<int, std::string> out;
        for (const QuestionRow& r : win.rows[Ctl::lv1]) out[std::stoi(r.id)] = r.progress;
        return out;
    }
    // The five questions' answers, oldest first.
    void answerTheFive() {
        const std::vector<std::pair<int, std::vector<bool>>> answers = {
            {1, {false, true, true}},              // streak 2
            {2, {false}},                          // streak 0
            {3, {false, true}},                    // streak 1
            {4, {true, true}},                     // never wrong: never in the review
            {5, {true, false, true, true, true}},  // streak 3
        };
        for (const auto& [id, given] : answers)
            for (bool right : given) answerId(id, right);
    }
};

} // namespace

TEST(MasterySetting, TheStateFilesByteReadsAsAMasteryOrAsNever) {
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    EXPECT_EQ(MasterySetting::of(*state), MasterySetting::kNever); // every file before the setting
    const struct { int byte, reads; } reads[] = {{0, 0}, {1, 1}, {3, 3}, {9, 9}, {10, 0}, {200, 0}, {255, 0}};
    for (const auto& c : reads) {
        state->padding[0] = static_cast<std::uint8_t>(c.byte);
        EXPECT_EQ(MasterySetting::of(*state), c.reads) << c.byte;
    }
    const struct { int stored, byte; } stores[] = {{0, 0}, {4, 4}, {9, 9}, {10, 9}, {-1, 0}, {1000, 9}};
    for (const auto& c : stores) {
        MasterySetting::store(*state, c.stored);
        EXPECT_EQ(state->padding[0], c.byte) << c.stored;
    }
    EXPECT_EQ(MasterySetting::progress(1, 3), "1/3");
    EXPECT_EQ(MasterySetting::progress(0, 9), "0/9");
    EXPECT_EQ(MasterySetting::progress(5, 3), "3/3");
}

TEST_F(MasteryTest, TheSettingsDialogsChoiceReachesItsByteInTheFile) {
    start(plainBank(5));
    SettingsValues v = SettingsModel::openingValues(*s().state);
    EXPECT_EQ(v.mastery, 0);
    v.mastery = 4;
    ASSERT_TRUE(SettingsModel::apply(t(), v).applied);
    EXPECT_EQ(MasterySetting::of(*s().state), 4);
    EXPECT_EQ(byteAt(path("bankdata/sys.dat"), kMasteryOffset), 4);
    EXPECT_EQ(SettingsModel::openingValues(*s().state).mastery, 4);
    // The text size beside it is left as it was.
    EXPECT_EQ(byteAt(path("bankdata/sys.dat"), kMasteryOffset - 1), 0);
}

TEST_F(MasteryTest, EachMasteryLeavesOutTheQuestionsAnsweredRightThatOftenInARow) {
    const struct {
        int mastery;
        std::map<int, std::string> rows;
    } cases[] = {
        {0, {{1, ""}, {2, ""}, {3, ""}, {5, ""}}},
        {1, {{2, "0/1"}}},
        {2, {{2, "0/2"}, {3, "1/2"}}},
        {3, {{1, "2/3"}, {2, "0/3"}, {3, "1/3"}}},
        {4, {{1, "2/4"}, {2, "0/4"}, {3, "1/4"}, {5, "3/4"}}},
        {9, {{1, "2/9"}, {2, "0/9"}, {3, "1/9"}, {5, "3/9"}}},
    };
    start(plainBank(8));
    answerTheFive();
    for (const auto& c : cases) {
        MasterySetting::store(*s().state, c.mastery);
        EXPECT_EQ(reviewRows(), c.rows) << "mastery " << c.mastery;
    }
}

TEST_F(MasteryTest, PractisingTheReviewTakesOnlyTheQuestionsNotYetMastered) {
    start(plainBank(8));
    answerTheFive();
    MasterySetting::store(*s().state, 2);
    reviewRows();
    t().review.btn4Click();
    EXPECT_EQ(sorted(listIds()), (std::vector<int>{2, 3}));
    // Two more right answers to question 3 master it as well.
    answerId(3, true);
    reviewRows();
    t().review.btn4Click();
    EXPECT_EQ(listIds(), std::vector<int>{2});
    answerId(2, true);
    answerId(2, true);
    win.forget();
    EXPECT_TRUE(reviewRows().empty());
    t().review.btn4Click();
    EXPECT_EQ(win.messages, std::vector<std::string>{"没发现错题"});
}

TEST_F(MasteryTest, WithoutMasteryTheReviewSortsTheBankAndListsEveryEverWrongQuestionAsBefore) {
    start(plainBank(8));
    answerTheFive();
    answerId(2, false);
    answerId(2, false);
    // The review of old: the bank itself sorted by wrong count, most first,
    // every ever-wrong question listed with no streak.
    EXPECT_EQ(reviewRows(), (std::map<int, std::string>{{1, ""}, {2, ""}, {3, ""}, {5, ""}}));
    EXPECT_EQ(s().record(1).id, 2);
    t().review.btn4Click();
    EXPECT_EQ(sorted(listIds()), (std::vector<int>{1, 2, 3, 5}));
    // With mastery the bank keeps its order: the review is drawn beside it.
    t().modes.SunXuClick();
    MasterySetting::store(*s().state, 3);
    reviewRows();
    EXPECT_EQ(s().record(1).id, 1);
}
