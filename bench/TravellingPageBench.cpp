// The page "保存...." writes: a 100-question paper whose 20 pictures (6 kB
// each, as the shipped ones) are read and put inside it as data: addresses.
#include <benchmark/benchmark.h>

#include <memory>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/Trainer.h"
#include "engine/TravellingPage.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

struct PaperWithPictures {
    test::TempDir dir;
    test::FakeWindow window;
    std::unique_ptr<Trainer> trainer;
    PaperWithPictures() {
        dir.mkdir("bankdata/pics");
        Bank bank = BankGenerator::make(100, 7);
        BankFile::store(bank, dir.file("bankdata/b.tk"));
        // The generator names a picture for every fifth question.
        const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(6000, 'p');
        for (int i = 1; i <= 100; ++i)
            if (i % 5 == 0) dir.write("bankdata/pics/gen_" + std::to_string(bank.records[i].id) + ".png", png);
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        HistoryEntry& e = state->history[1];
        writeField(e.takenAt, "2026");
        writeField(e.bankTag, "TKxiaoche");
        e.itemCount = 100;
        for (int i = 1; i <= 100; ++i) e.items[i] = {bank.records[i].id, bank.records[i].answer, 1, {0, 0, 0}};
        state->historyCount = 1;
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
        trainer = std::make_unique<Trainer>(window, dir.path());
        trainer->construct();
        trainer->formCreate();
    }
};

void BM_TravellingPage(benchmark::State& st) {
    static PaperWithPictures f;
    TravellingPage page(f.trainer->s, f.trainer->history);
    std::size_t bytes = 0;
    for (auto _ : st) {
        const std::string html = page.html(1, true);
        bytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    if (bytes < 20 * 8000) st.SkipWithError("pictures left out");
    st.counters["page_kB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(BM_TravellingPage)->Unit(benchmark::kMillisecond);

} // namespace
