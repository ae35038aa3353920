// Speed of the list commands, the answer, the search and the exam draw on a
// generated bank of 1,999 questions.
#include <benchmark/benchmark.h>

#include <memory>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/ProgressStats.h"
#include "engine/RecordSorts.h"
#include "engine/Trainer.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

// A quiet window: records nothing, so the engine's own cost is measured.
class NullWindow : public test::FakeWindow {
public:
    void showQuestionView(const QuestionView&) override {}
    void setText(Ctl, const std::string&) override {}
    void setImage(Ctl, const std::string&) override {}
    void setRows(Ctl, const std::vector<QuestionRow>&) override {}
};

struct Fixture {
    test::TempDir dir;
    NullWindow window;
    std::unique_ptr<Trainer> trainer;
    Fixture() {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(1999, 3);
        // Some history of answers, with many ties, as a used bank has.
        for (int i = 1; i <= 1999; ++i) {
            bank.records[i].wrongCount = (i * 7919) % 5;
            bank.records[i].answerCount = (i * 104729) % 9;
        }
        BankFile::store(bank, dir.file("bankdata/b.tk"));
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        state->beginnerCount = 1999;
        state->hardCount = 1999;
        state->examCount = 100;
        writeField(state->bankPath, "bankdata\\b.tk");
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
        trainer = std::make_unique<Trainer>(window, dir.path());
        trainer->construct();
        trainer->formCreate();
        // A full history: 999 recorded papers of 100 questions.
        Sfile& st = *trainer->s.state;
        for (int slot = 1; slot <= Sfile::kMaxHistory; ++slot) {
            HistoryEntry& e = st.history[slot];
            writeField(e.takenAt, "2026");
            writeField(e.bankTag, "TKxiaoche");
            e.itemCount = 100;
            for (int i = 1; i <= 100; ++i) {
                const QuestionRecord& r = trainer->s.record((slot * 7 + i * 13) % 1999 + 1);
                e.items[i] = {r.id, r.answer, 1, {0, 0, 0}};
            }
        }
        st.historyCount = Sfile::kMaxHistory;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_Sequential(benchmark::State& st) {
    for (auto _ : st) fixture().trainer->modes.SunXuClick();
}
BENCHMARK(BM_Sequential)->Unit(benchmark::kMillisecond);

void BM_Beginner(benchmark::State& st) {
    for (auto _ : st) fixture().trainer->modes.chujiClick();
}
BENCHMARK(BM_Beginner)->Unit(benchmark::kMillisecond);

void BM_Hard(benchmark::State& st) {
    for (auto _ : st) fixture().trainer->modes.LianXKSClick();
}
BENCHMARK(BM_Hard)->Unit(benchmark::kMillisecond);

void BM_ExamStart(benchmark::State& st) {
    for (auto _ : st) fixture().trainer->modes.KaoShiClick();
}
BENCHMARK(BM_ExamStart)->Unit(benchmark::kMillisecond);

void BM_ExamDraw(benchmark::State& st) {
    ExamDraw draw([] { return 12345u; });
    for (auto _ : st) benchmark::DoNotOptimize(draw.draw(1999, 199));
}
BENCHMARK(BM_ExamDraw)->Unit(benchmark::kMicrosecond);

void BM_Answer(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    t.modes.SunXuClick();
    t.s.checkBox2 = false;
    int i = 1;
    for (auto _ : st) {
        t.s.current = i;
        t.s.entry(i).userAnswer = 0;
        t.s.entry(i).counted = false;
        t.judge.answerQuestion(1);
        i = i % 1999 + 1;
    }
}
BENCHMARK(BM_Answer)->Unit(benchmark::kMicrosecond);

void BM_ShowQuestion(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    t.modes.SunXuClick();
    for (auto _ : st) t.view.showQuestion(1000);
}
BENCHMARK(BM_ShowQuestion)->Unit(benchmark::kMicrosecond);

void BM_SearchText(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    t.search.setSearchText("路口");
    for (auto _ : st) t.search.souClick();
}
BENCHMARK(BM_SearchText)->Unit(benchmark::kMillisecond);

void BM_SearchAll(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    t.search.setSearchText("");
    for (auto _ : st) t.search.souClick();
}
BENCHMARK(BM_SearchAll)->Unit(benchmark::kMillisecond);

void BM_SortByWrongCount(benchmark::State& st) {
    Bank bank = BankGenerator::make(1999, 5);
    for (int i = 1; i <= 1999; ++i) bank.records[i].wrongCount = (i * 31) % 7;
    for (auto _ : st) {
        st.PauseTiming();
        Bank copy = bank;
        st.ResumeTiming();
        RecordSorts::sortByWrongCount(copy);
    }
}
BENCHMARK(BM_SortByWrongCount)->Unit(benchmark::kMillisecond);

// The exchange loop written out, moving whole records: what the sort above
// replaces.
void BM_SortByWrongCountLiteral(benchmark::State& st) {
    Bank bank = BankGenerator::make(1999, 5);
    for (int i = 1; i <= 1999; ++i) bank.records[i].wrongCount = (i * 31) % 7;
    for (auto _ : st) {
        st.PauseTiming();
        Bank copy = bank;
        st.ResumeTiming();
        for (int i = 1; i <= 1999; ++i)
            for (int j = 1; j <= 1999; ++j)
                if (copy.records[j].wrongCount < copy.records[i].wrongCount) std::swap(copy.records[i], copy.records[j]);
        benchmark::DoNotOptimize(copy.records[1].id);
    }
}
BENCHMARK(BM_SortByWrongCountLiteral)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LookupQuestion(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    int i = 1;
    for (auto _ : st) {
        benchmark::DoNotOptimize(t.history.lookupQuestion(t.s.record(i).id));
        i = i % 1999 + 1; // a different id every time: the cache never helps
    }
}
BENCHMARK(BM_LookupQuestion)->Unit(benchmark::kMicrosecond);

void BM_ExportPages(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    const HistoryEntry& e = t.s.state->history[500];
    for (auto _ : st) {
        benchmark::DoNotOptimize(t.paper.page(e, true));
        benchmark::DoNotOptimize(t.paper.page(e, false));
    }
}
BENCHMARK(BM_ExportPages)->Unit(benchmark::kMillisecond);

void BM_StateSave(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    for (auto _ : st) benchmark::DoNotOptimize(t.saveState());
}
BENCHMARK(BM_StateSave)->Unit(benchmark::kMillisecond);

// The figures of both progress views: the trend of all 999 papers (every one
// of the loaded bank) and the state of the 1,999 questions.
void BM_ProgressStats(benchmark::State& st) {
    Trainer& t = *fixture().trainer;
    for (auto _ : st) {
        benchmark::DoNotOptimize(ProgressStats::scoreTrend(*t.s.state));
        benchmark::DoNotOptimize(ProgressStats::bankProgress(*t.s.bank));
    }
    if (ProgressStats::scoreTrend(*t.s.state).papers.size() != Sfile::kMaxHistory) st.SkipWithError("papers left out");
}
BENCHMARK(BM_ProgressStats)->Unit(benchmark::kMillisecond);

} // namespace
