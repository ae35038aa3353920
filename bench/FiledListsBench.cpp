// Speed of the lists by chapter and topic, at random, from the favourites
// and of the review with mastery, on a generated bank of 1,999 questions.
#include <benchmark/benchmark.h>

#include <unordered_set>

#include "data/BankGenerator.h"
#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"
#include "engine/FiledLists.h"
#include "engine/FilingFigures.h"
#include "engine/MasteryReview.h"
#include "support/FiledBank.h"

using namespace cxb;

namespace {

// 1,999 questions spread over the chapters and topics, a few unfiled, with
// a history of answers.
const Bank& filedBank() {
    static const Bank bank = test::filedBank();
    return bank;
}

void BM_SequentialTopic(benchmark::State& state) {
    const Bank& bank = filedBank();
    for (auto _ : state) benchmark::DoNotOptimize(FiledLists::sequential(bank, FiledScope::topic(7)));
}
BENCHMARK(BM_SequentialTopic)->Unit(benchmark::kMillisecond);

void BM_SequentialChapter(benchmark::State& state) {
    const Bank& bank = filedBank();
    for (auto _ : state) benchmark::DoNotOptimize(FiledLists::sequential(bank, FiledScope::chapter(1)));
}
BENCHMARK(BM_SequentialChapter)->Unit(benchmark::kMillisecond);

void BM_ShuffledWholeBank(benchmark::State& state) {
    const Bank& bank = filedBank();
    std::uint64_t seed = 1;
    for (auto _ : state) benchmark::DoNotOptimize(FiledLists::shuffled(bank, FiledScope::all(), ++seed));
}
BENCHMARK(BM_ShuffledWholeBank)->Unit(benchmark::kMillisecond);

void BM_FavouritesHalfTheBank(benchmark::State& state) {
    const Bank& bank = filedBank();
    std::unordered_set<std::int32_t> ids;
    for (int i = 1; i <= 1999; i += 2) ids.insert(bank.records[static_cast<std::size_t>(i)].id);
    for (auto _ : state) benchmark::DoNotOptimize(FiledLists::favourites(bank, ids));
}
BENCHMARK(BM_FavouritesHalfTheBank)->Unit(benchmark::kMillisecond);

// Ten answers to every question, as a journal of a year's practice holds.
std::vector<MasteryReview::Answer> yearOfAnswers(const Bank& bank) {
    std::vector<MasteryReview::Answer> answers;
    for (int round = 0; round < 10; ++round)
        for (int i = 1; i <= 1999; ++i)
            answers.push_back({bank.records[static_cast<std::size_t>(i)].id, (i + round) % 3 != 0});
    return answers;
}

void BM_MasteryStreaks(benchmark::State& state) {
    const auto answers = yearOfAnswers(filedBank());
    for (auto _ : state) benchmark::DoNotOptimize(MasteryReview::rightStreaks(answers));
}
BENCHMARK(BM_MasteryStreaks)->Unit(benchmark::kMillisecond);

void BM_MasteryReview(benchmark::State& state) {
    const Bank& bank = filedBank();
    const auto streaks = MasteryReview::rightStreaks(yearOfAnswers(bank));
    for (auto _ : state) benchmark::DoNotOptimize(MasteryReview::build(bank, streaks, 3));
}
BENCHMARK(BM_MasteryReview)->Unit(benchmark::kMillisecond);

void BM_FilingFigures(benchmark::State& state) {
    const Bank& bank = filedBank();
    for (auto _ : state) benchmark::DoNotOptimize(FilingFigures::of(bank));
}
BENCHMARK(BM_FilingFigures)->Unit(benchmark::kMillisecond);

} // namespace
