// Speed of the commands that start the lists by chapter and topic, at
// random and from the stars, and of 曾经全部错题 with mastery, through the
// trainer on a filed bank of 1,999 questions: what the learner waits for
// after a click (the list built, copied and its first question shown).
#include <benchmark/benchmark.h>

#include <memory>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"
#include "data/StateFile.h"
#include "engine/MasterySetting.h"
#include "engine/Trainer.h"
#include "support/FiledBank.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

class QuietWindow : public test::FakeWindow {
public:
    void showQuestionView(const QuestionView&) override {}
    void setText(Ctl, const std::string&) override {}
    void setImage(Ctl, const std::string&) override {}
    void setRows(Ctl, const std::vector<QuestionRow>&) override {}
    void message(const std::string&) override {}
};

struct Fixture {
    test::TempDir dir;
    QuietWindow window;
    std::unique_ptr<Trainer> trainer;
    Fixture() {
        dir.mkdir("bankdata");
        Bank bank = test::filedBank();
        BankFile::store(bank, dir.file("bankdata/b.tk"));
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        MasterySetting::store(*state, 3);
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
        trainer = std::make_unique<Trainer>(window, dir.path());
        trainer->construct();
        trainer->formCreate();
        Trainer& t = *trainer;
        // Every other question starred, and five answers to each question
        // in the journal (about 10,000), as months of practice leave.
        t.modes.SunXuClick();
        for (int i = 1; i <= t.s.listCount; i += 2) {
            t.view.showQuestion(i);
            t.star.toggleStar();
        }
        for (int round = 0; round < 5; ++round)
            for (int i = 1; i <= 1999; ++i)
                t.journal.answerCounted(t.s.record(i).id, (i + round) % 3 != 0, 1, 0);
    }
    const ChapterRow& row(const char* name) {
        static std::vector<ChapterRow> rows;
        rows = trainer->filed.rows();
        for (const ChapterRow& r : rows)
            if (r.name == name) return r;
        return rows.front();
    }
};

Fixture& fixture() {
    static Fixture* f = new Fixture;
    return *f;
}

void BM_ChapterRowsOfTheBank(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    for (auto _ : st) benchmark::DoNotOptimize(t.filed.rows());
}
BENCHMARK(BM_ChapterRowsOfTheBank)->Unit(benchmark::kMillisecond);

void BM_TopicPractice(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    const ChapterRow row = fixture().row("标志");
    for (auto _ : st) benchmark::DoNotOptimize(t.filed.chooseRow(row, false, 0));
    st.counters["questions"] = t.s.listCount;
}
BENCHMARK(BM_TopicPractice)->Unit(benchmark::kMillisecond);

void BM_ChapterRandomPractice(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    const ChapterRow row = fixture().row("道路交通信号");
    std::uint64_t seed = 1;
    for (auto _ : st) benchmark::DoNotOptimize(t.filed.chooseRow(row, true, ++seed));
    st.counters["questions"] = t.s.listCount;
}
BENCHMARK(BM_ChapterRandomPractice)->Unit(benchmark::kMillisecond);

void BM_RandomPractice(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    std::uint64_t seed = 1;
    for (auto _ : st) benchmark::DoNotOptimize(t.filed.random(++seed));
    st.counters["questions"] = t.s.listCount;
}
BENCHMARK(BM_RandomPractice)->Unit(benchmark::kMillisecond);

void BM_FavouritesPractice(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    for (auto _ : st) benchmark::DoNotOptimize(t.filed.favourites());
    st.counters["questions"] = t.s.listCount;
}
BENCHMARK(BM_FavouritesPractice)->Unit(benchmark::kMillisecond);

void BM_StarToggle(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    t.modes.SunXuClick();
    t.view.showQuestion(2);
    for (auto _ : st) benchmark::DoNotOptimize(t.star.toggleStar());
}
BENCHMARK(BM_StarToggle)->Unit(benchmark::kMicrosecond);

void BM_EverWrongReviewWithMastery(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    for (auto _ : st) {
        t.review.btnQuanBuClick();
        benchmark::DoNotOptimize(t.s.reviewRows.size());
    }
    st.counters["rows"] = static_cast<double>(t.s.reviewRows.size());
}
BENCHMARK(BM_EverWrongReviewWithMastery)->Unit(benchmark::kMillisecond);

} // namespace
