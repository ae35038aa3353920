// The memory states kept up to date answer by answer, and the chance to pass
// at each recorded paper: the same figures as a book built whole from the
// answers before that moment.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/AnswerJournal.h"
#include "engine/JournalMemory.h"
#include "engine/PassChance.h"
#include "engine/PassTrend.h"
#include "support/JournalAnswers.h"
#include "support/TempDir.h"

using namespace cxb;
using namespace cxb::testing;

namespace {

// A learner's fortnight over 60 questions: mornings of new questions and
// reviews, one in five wrong, stamps a few seconds apart.
std::vector<JournalAnswer> fortnight() {
    std::vector<JournalAnswer> out;
    std::int64_t seq = 0;
    for (int day = 0; day < 14; ++day)
        for (int i = 0; i < 25; ++i) {
            JournalAnswer a = answerAt(1 + (day * 7 + i * 3) % 60, (day + i) % 5 != 0, kMonday + day * kDay + 8 * kHour + i * 5000);
            a.seq = ++seq;
            out.push_back(a);
        }
    return out;
}

std::vector<JournalAnswer> before(const std::vector<JournalAnswer>& all, std::int64_t atMs) {
    std::vector<JournalAnswer> out;
    for (const JournalAnswer& a : all)
        if (a.atMs < atMs) out.push_back(a);
    return out;
}

void expectSameStates(const MemoryBook& a, const MemoryBook& b) {
    ASSERT_EQ(a.states().size(), b.states().size());
    for (const auto& [id, s] : a.states()) {
        const MemoryState* t = b.find(id);
        ASSERT_NE(nullptr, t) << id;
        EXPECT_DOUBLE_EQ(s.stability, t->stability) << id;
        EXPECT_DOUBLE_EQ(s.difficulty, t->difficulty) << id;
        EXPECT_EQ(s.lastMs, t->lastMs) << id;
        EXPECT_EQ(s.answers, t->answers) << id;
    }
    EXPECT_EQ(a.firstAnswers(), b.firstAnswers());
    EXPECT_EQ(a.firstRight(), b.firstRight());
    for (int day = -1; day < 15; ++day) {
        const std::int64_t d = a.days().dayOf(kMonday) + day;
        EXPECT_EQ(a.newOnDay(d), b.newOnDay(d)) << day;
    }
}

TEST(MemoryBookAdd, AnswerByAnswerIsTheBookBuiltWhole) {
    const std::vector<JournalAnswer> all = fortnight();
    // The last answer stamped before its predecessor (a clock set back)
    // counts as given with it, in both ways.
    std::vector<JournalAnswer> setBack = all;
    setBack.push_back(answerAt(setBack.back().questionId, false, setBack.back().atMs - kHour));
    const std::vector<JournalAnswer>* lists[] = {&all, &setBack};
    for (const std::vector<JournalAnswer>* answers : lists) {
        MemoryBook grown({});
        for (const JournalAnswer& a : *answers) grown.add(a);
        expectSameStates(MemoryBook(*answers), grown);
    }
}

TEST(JournalMemory, ReadsOnlyTheNewAnswersAndStartsOverForAnotherBank) {
    test::TempDir dir;
    auto opened = AnswerJournal::open(dir.file("journal.db"));
    ASSERT_TRUE(opened.ok()) << opened.error();
    AnswerJournal journal = std::move(opened.value());
    const std::vector<JournalAnswer> all = fortnight();
    JournalMemory memory;
    const LearnerDays beijing;

    // Without a journal: an empty book.
    EXPECT_TRUE(memory.book(nullptr, "c1", beijing).states().empty());

    std::size_t written = 0;
    for (std::size_t upTo : {std::size_t{0}, std::size_t{40}, std::size_t{41}, all.size()}) {
        SCOPED_TRACE(upTo);
        for (; written < upTo; ++written) ASSERT_GT(journal.appendAnswer(all[written]), 0) << journal.lastError();
        // Another bank's answers are not this bank's.
        if (upTo == 41) {
            JournalAnswer other = answerAt(7, false, all[40].atMs + 1);
            other.bank = "k1";
            ASSERT_GT(journal.appendAnswer(other), 0);
        }
        const MemoryBook& kept = memory.book(&journal, "c1", beijing);
        EXPECT_EQ(static_cast<std::int64_t>(upTo), memory.answers());
        expectSameStates(MemoryBook(std::vector<JournalAnswer>(all.begin(), all.begin() + static_cast<long>(upTo))), kept);
    }

    // The other bank, then back, and another time zone: each read whole.
    EXPECT_EQ(1u, memory.book(&journal, "k1", beijing).states().size());
    EXPECT_EQ(1, memory.answers());
    expectSameStates(MemoryBook(all), memory.book(&journal, "c1", beijing));
    const LearnerDays utc{0};
    expectSameStates(MemoryBook(all, utc), memory.book(&journal, "c1", utc));
    EXPECT_EQ(0, memory.book(&journal, "c1", utc).days().utcOffsetMs);
    memory.forget();
    expectSameStates(MemoryBook(all, utc), memory.book(&journal, "c1", utc));
}

TEST(PassTrendTime, ReadsTheTimeAPaperWasHandedIn) {
    const LearnerDays beijing;
    const std::int64_t monday905 = kMonday + 9 * kHour + 5 * 60000 + 7000;
    const struct { const char* text; std::int64_t atMs; } cases[] = {
        {"2026年03月02日09点05分07秒", monday905},
        {"2026年3月2日9点5分7秒", monday905},
        {"2026年03月02日00点00分00秒", kMonday},
        {"2024年02月29日23点59分59秒", kMonday - 732 * kDay + kDay - 1000},
        {"1970年01月01日08点00分00秒", 0},
        // broken
        {"", -1},
        {"2026-03-02 09:05:07", -1},
        {"2026年03月02日09点05分", -1},
        {"2026年03月02日09点05分07秒x", -1},
        {"2026年02月29日09点05分07秒", -1},
        {"2026年04月31日09点05分07秒", -1},
        {"2026年13月02日09点05分07秒", -1},
        {"2026年00月02日09点05分07秒", -1},
        {"2026年03月00日09点05分07秒", -1},
        {"2026年03月02日24点05分07秒", -1},
        {"2026年03月02日09点60分07秒", -1},
        {"2026年03月02日09点05分60秒", -1},
        {"2026年03月02日-1点05分07秒", -1},
        {"1969年12月31日23点59分59秒", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.atMs, PassTrend::takenAtMs(c.text, beijing)) << c.text;
    // The learner's calendar: the same clock reading is eight hours later in UTC.
    EXPECT_EQ(monday905 + 8 * kHour, PassTrend::takenAtMs("2026年03月02日09点05分07秒", LearnerDays{0}));
}

TEST(PassTrendChances, EachPaperSeesOnlyTheAnswersBeforeIt) {
    const std::vector<JournalAnswer> all = fortnight();
    const std::vector<std::int32_t> bank = idsUpTo(60);
    const LearnerDays beijing;
    // Out of time order on purpose, with two sizes, a paper without a time,
    // one before every answer, one exactly at an answer (that answer is
    // not before it) and one the size of more than the bank.
    const std::vector<PaperMoment> papers = {
        {kMonday + 9 * kDay + 12 * kHour, 10}, {kMonday + 1 * kDay + 12 * kHour, 10}, {-1, 10},
        {kMonday - kDay, 10},                   {kMonday + 5 * kDay + 12 * kHour, 20}, {all[100].atMs, 10},
        {kMonday + 20 * kDay, 100},
    };
    const std::vector<double> chances = PassTrend::chances(all, papers, bank, beijing);
    ASSERT_EQ(papers.size(), chances.size());
    for (std::size_t i = 0; i < papers.size(); ++i) {
        SCOPED_TRACE(i);
        const PaperMoment& p = papers[i];
        const std::vector<JournalAnswer> earlier = before(all, p.atMs);
        if (p.atMs < 0 || earlier.empty()) {
            EXPECT_EQ(-1.0, chances[i]);
            continue;
        }
        const double whole = PassChance::estimate(MemoryBook(earlier, beijing), bank, p.examSize, p.atMs).probability;
        EXPECT_NEAR(whole, chances[i], 1e-12);
        EXPECT_GE(chances[i], 0.0);
        EXPECT_LE(chances[i], 1.0);
    }
    EXPECT_EQ(100u, before(all, papers[5].atMs).size());
    // Practice raises the chance: a week later it is higher.
    EXPECT_GT(chances[0], chances[1]);
    // Nothing to read from: every paper unknown.
    EXPECT_EQ(std::vector<double>(papers.size(), -1.0), PassTrend::chances({}, papers, bank, beijing));
}

TEST(PassChanceSlices, SlicesWorkedOutBeforehandGiveTheSameEstimate) {
    const MemoryBook book(fortnight());
    const std::int64_t now = kMonday + 14 * kDay;
    const std::vector<std::int32_t> bank = idsUpTo(60);
    // Slices of another bank size or a paper beyond the bank are worked out
    // again rather than read out of range.
    const struct { const char* name; int bankCount, examSize; } cases[] = {
        {"the bank's own", 60, 10}, {"a paper of 100 over 60", 60, 100},
        {"an older, smaller bank", 40, 10}, {"a larger bank", 90, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PassEstimate given = PassChance::estimate(book, bank, DrawSlices(c.bankCount, c.examSize), now);
        const PassEstimate plain = PassChance::estimate(book, bank, c.examSize, now);
        EXPECT_EQ(std::min(c.examSize, 60), given.examSize);
        EXPECT_EQ(plain.examSize, given.examSize);
        EXPECT_DOUBLE_EQ(plain.probability, given.probability);
        EXPECT_DOUBLE_EQ(plain.expectedScore, given.expectedScore);
    }
}

} // namespace
