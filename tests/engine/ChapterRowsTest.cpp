// The rows of the chapter window: which chapters and topics it lists, in
// what order, under which chapter, and the figures and bar of each.
#include <gtest/gtest.h>

#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"
#include "engine/ChapterRows.h"
#include "engine/FilingFigures.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using cxb::test::plainBank;

namespace {

constexpr int kLaw = 0, kSignals = 1, kSafe = 2, kDriving = 3;
int topic(std::string_view name) { return QuestionFiling::topicIndex(name); }

// A question's filing ({-1, -1}: none) and counters.
struct Q {
    int chapter, topic;
    int right = 0, wrong = 0;
};

Bank bankOf(const std::vector<Q>& questions) {
    Bank bank = plainBank(static_cast<int>(questions.size()));
    for (std::size_t i = 0; i < questions.size(); ++i) {
        QuestionRecord& r = bank.records[i + 1];
        if (questions[i].chapter >= 0) QuestionFiling::store(r, {questions[i].chapter, questions[i].topic});
        r.rightCount = questions[i].right;
        r.wrongCount = questions[i].wrong;
    }
    return bank;
}

std::vector<std::string> names(const std::vector<ChapterRow>& rows) {
    std::vector<std::string> out;
    for (const ChapterRow& r : rows) out.push_back((r.level == ChapterRow::Level::Topic ? "  " : "") + r.name);
    return out;
}

} // namespace

TEST(ChapterRows, ChaptersInOrderEachWithTheTopicsMostOfWhoseQuestionsItHolds) {
    // 客车专项 is filed in three chapters, most often in the first; 高速公路
    // as often in the first as in the third (the first takes it); 急救 has
    // no question and is left out, while the fourth chapter stays listed.
    const Bank bank = bankOf({
        {kSafe, topic("客车专项")},  {kLaw, topic("客车专项")},   {kLaw, topic("客车专项")},
        {kDriving, topic("客车专项")}, {kSafe, topic("高速公路")}, {kLaw, topic("高速公路")},
        {kSignals, topic("标志")},   {kLaw, topic("驾驶证")},     {kSafe, topic("安全驾驶")},
    });
    const std::vector<ChapterRow> rows = ChapterRows::of(FilingFigures::of(bank));
    const std::vector<std::string> expected = {
        "道路交通安全法律、法规和规章", "  驾驶证", "  高速公路", "  客车专项",
        "道路交通信号",                 "  标志",
        "安全行车、文明驾驶基础知识",   "  安全驾驶",
        "机动车驾驶操作相关基础知识",
    };
    EXPECT_EQ(names(rows), expected);
    // A topic row counts all its questions, whichever chapter they are in.
    EXPECT_EQ(rows[3].count.questions, 4);
    EXPECT_EQ(rows[3].scope, FiledScope::topic(topic("客车专项")));
    EXPECT_EQ(rows[0].scope, FiledScope::chapter(kLaw));
    EXPECT_EQ(rows[0].count.questions, 4);
    EXPECT_EQ(rows.back().count.questions, 1);
    EXPECT_TRUE(rows.back().choosable());
}

TEST(ChapterRows, UnfiledQuestionsGetTheirOwnLastRowAndEmptyChaptersCannotBeChosen) {
    const Bank bank = bankOf({{-1, -1}, {-1, -1, 1, 0}, {kSignals, topic("标线")}});
    const std::vector<ChapterRow> rows = ChapterRows::of(FilingFigures::of(bank));
    ASSERT_EQ(rows.size(), 6u); // four chapters, 标线, 未分类
    EXPECT_EQ(rows.back().name, QuestionTopics::kUnfiled);
    EXPECT_EQ(rows.back().level, ChapterRow::Level::Unfiled);
    EXPECT_EQ(rows.back().scope, FiledScope::unfiled());
    EXPECT_EQ(rows.back().count.questions, 2);
    EXPECT_EQ(rows.back().barText, "50%");
    EXPECT_FALSE(rows[0].choosable()); // the law chapter holds nothing here
    EXPECT_TRUE(rows[1].choosable());

    // A bank with every question filed has no 未分类 row.
    const auto filed = ChapterRows::of(FilingFigures::of(bankOf({{kLaw, topic("记分")}})));
    for (const ChapterRow& r : filed) EXPECT_NE(r.level, ChapterRow::Level::Unfiled);
}

TEST(ChapterRows, FiguresAndTheBarOfTheShareAnswered) {
    // In one topic: answered right, answered wrong, never answered.
    struct Case {
        std::vector<Q> questions;
        FilingCount count;
        int percent;
    };
    const int t = topic("罚则");
    const Case cases[] = {
        {{{kLaw, t}, {kLaw, t}, {kLaw, t}}, {3, 0, 0, 0}, 0},
        {{{kLaw, t, 1, 0}, {kLaw, t, 0, 2}, {kLaw, t}}, {3, 2, 1, 1}, 66}, // rounded down
        {{{kLaw, t, 4, 1}, {kLaw, t, 2, 0}}, {2, 2, 1, 1}, 100},
        {{{kLaw, t, 1, 0}, {kLaw, t}, {kLaw, t}, {kLaw, t}, {kLaw, t}, {kLaw, t}, {kLaw, t}}, {7, 1, 1, 0}, 14},
    };
    for (const Case& c : cases) {
        const std::vector<ChapterRow> rows = ChapterRows::of(FilingFigures::of(bankOf(c.questions)));
        ASSERT_GE(rows.size(), 2u);
        const ChapterRow& row = rows[1];
        EXPECT_EQ(row.name, "罚则");
        EXPECT_EQ(row.count, c.count) << c.percent;
        EXPECT_EQ(row.answeredPercent, c.percent);
        EXPECT_EQ(row.barText, std::to_string(c.percent) + "%");
        const std::vector<std::string> columns = ChapterRows::columns(row);
        EXPECT_EQ(columns, (std::vector<std::string>{std::to_string(c.count.questions), std::to_string(c.count.answered),
                                                     std::to_string(c.count.neverWrong),
                                                     std::to_string(c.count.everWrong), row.barText}));
    }
    EXPECT_EQ(ChapterRows::headings().size(), 1 + ChapterRows::columns(ChapterRow{}).size());
}

TEST(ChapterRows, AnEmptyBankListsTheFourChaptersAndNothingToChoose) {
    const std::vector<ChapterRow> rows = ChapterRows::of(FilingFigures::of(Bank{}));
    ASSERT_EQ(rows.size(), QuestionTopics::kChapters.size());
    for (const ChapterRow& r : rows) {
        EXPECT_FALSE(r.choosable());
        EXPECT_EQ(r.barText, "0%");
    }
    // Figures of another shape than the bank's (never made by FilingFigures) give no rows.
    EXPECT_TRUE(ChapterRows::of(FilingFigures{}).empty());
}
