// The memory model: every question's state from a long journal, and the
// chance to pass from those states.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/PassChance.h"
#include "engine/PassTrend.h"
#include "engine/SmartReview.h"

using namespace cxb;

namespace {

constexpr int kQuestions = 1999;

std::vector<JournalAnswer> longJournal() {
    // 100,000 answers over about a year: one every five minutes of study,
    // spread over the 1,999 questions, one in four wrong.
    std::vector<JournalAnswer> answers(100000);
    for (int i = 0; i < 100000; ++i) {
        JournalAnswer& a = answers[static_cast<std::size_t>(i)];
        a.seq = i + 1;
        a.bank = "TKdaba";
        a.questionId = 1 + (i * 37) % kQuestions;
        a.right = i % 4 != 0;
        a.atMs = 1780000000000LL + 300000LL * i;
    }
    return answers;
}

std::vector<std::int32_t> bankIds() {
    std::vector<std::int32_t> ids;
    for (int i = 1; i <= kQuestions; ++i) ids.push_back(i);
    return ids;
}

} // namespace

static void BM_MemoryStates100000Answers(benchmark::State& state) {
    const std::vector<JournalAnswer> answers = longJournal();
    for (auto _ : state) {
        MemoryBook book(answers);
        if (book.states().size() != kQuestions) state.SkipWithError("a question has no state");
        benchmark::DoNotOptimize(book);
    }
}
BENCHMARK(BM_MemoryStates100000Answers)->Unit(benchmark::kMillisecond);

static void BM_PassChance1999Questions(benchmark::State& state) {
    const MemoryBook book(longJournal());
    const std::vector<std::int32_t> ids = bankIds();
    const std::int64_t now = 1780000000000LL + 300000LL * 100000;
    for (auto _ : state) benchmark::DoNotOptimize(PassChance::estimate(book, ids, 100, now));
}
BENCHMARK(BM_PassChance1999Questions)->Unit(benchmark::kMillisecond);

// What 智能复习 asks of the states each time its button is pressed: the
// list of the questions due now and today's new ones.
static void BM_SmartReviewList1999Questions(benchmark::State& state) {
    const MemoryBook book(longJournal());
    const std::vector<std::int32_t> ids = bankIds();
    const std::int64_t now = 1780000000000LL + 300000LL * 100000;
    for (auto _ : state) benchmark::DoNotOptimize(SmartReview::build(book, ids, now, ReviewSettings{}));
}
BENCHMARK(BM_SmartReviewList1999Questions)->Unit(benchmark::kMillisecond);

// The trend's pass chance at each of `papers` hand-ins spread over the year
// of answers: every answer replayed once, one estimate a paper.
static void BM_PassTrend(benchmark::State& state) {
    const std::vector<JournalAnswer> answers = longJournal();
    const std::vector<std::int32_t> ids = bankIds();
    std::vector<PaperMoment> papers;
    const auto n = static_cast<int>(state.range(0));
    for (int i = 1; i <= n; ++i) papers.push_back({1780000000000LL + 300000LL * 100000 / n * i, 100});
    for (auto _ : state) benchmark::DoNotOptimize(PassTrend::chances(answers, papers, ids, LearnerDays{}));
}
BENCHMARK(BM_PassTrend)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);
