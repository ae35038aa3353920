// The answer journal: what one answer costs the learner (it is committed
// before the next question shows), what the start pays to take back 10,000
// answers a crashed run left, and how big 100,000 answers make the file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "data/AnswerJournal.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/JournalReplay.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

const std::string kCar = "TKxiaoche";

JournalAnswer answerOf(int i) {
    JournalAnswer a;
    a.bank = kCar;
    a.questionId = 1 + i % 725;
    a.right = i % 4 != 0;
    a.given = 1 + i % 4;
    a.atMs = 1780000000000LL + 7000LL * i;
    a.mode = 1;
    return a;
}

std::uintmax_t journalBytes(const test::TempDir& dir) {
    std::uintmax_t sum = 0;
    for (const char* name : {"journal.db", "journal.db-wal", "journal.db-shm"})
        if (std::filesystem::exists(dir.file(name))) sum += std::filesystem::file_size(dir.file(name));
    return sum;
}

} // namespace

// One counted answer, committed.
static void BM_JournalAppendAnswer(benchmark::State& state) {
    test::TempDir dir;
    auto journal = AnswerJournal::open(dir.file("journal.db"));
    int i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(journal->appendAnswer(answerOf(i++)));
}
BENCHMARK(BM_JournalAppendAnswer)->Unit(benchmark::kMicrosecond);

// The start after a crash: open the journal, settle, and put 10,000 answers
// into the counters of the car bank (725 questions).
static void BM_JournalReplay10000(benchmark::State& state) {
    test::TempDir dir;
    {
        auto journal = AnswerJournal::open(dir.file("journal.db"));
        for (int i = 0; i < 10000; ++i) journal->appendAnswer(answerOf(i));
    }
    Bank shipped = BankGenerator::make(725, 3);
    for (int i = 1; i <= 725; ++i) shipped.records[static_cast<std::size_t>(i)].id = i;
    const std::string bytes = BankFile::serialize(shipped);
    for (auto _ : state) {
        state.PauseTiming();
        Bank bank = shipped;
        state.ResumeTiming();
        auto journal = AnswerJournal::open(dir.file("journal.db"));
        JournalRecovery r = JournalReplay::recover(*journal, kCar, bank, bytes);
        if (r.answers != 10000) state.SkipWithError("not every answer was taken back");
    }
}
BENCHMARK(BM_JournalReplay10000)->Unit(benchmark::kMillisecond);

// 100,000 answers (years of daily practice): the size of the journal on
// disk once it is closed, in the counter "bytes".
static void BM_JournalSize100000(benchmark::State& state) {
    for (auto _ : state) {
        test::TempDir dir;
        {
            auto journal = AnswerJournal::open(dir.file("journal.db"));
            for (int i = 0; i < 100000; ++i) journal->appendAnswer(answerOf(i));
        }
        state.counters["bytes"] = static_cast<double>(journalBytes(dir));
        state.counters["bytes_per_answer"] = static_cast<double>(journalBytes(dir)) / 100000.0;
    }
}
BENCHMARK(BM_JournalSize100000)->Unit(benchmark::kMillisecond)->Iterations(1);
