// What the installed program's folder preparation adds to each start: the
// walk of the template and the comparison of the shipped banks with the
// learner's copies, on a template the size of the shipped one.
#include <benchmark/benchmark.h>

#include <string>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/LearnerFolder.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

// Three banks of the shipped sizes, the state file, 420 pictures and a skin.
struct InstalledTemplate {
    test::TempDir tpl, home;
    std::string folder = home.file("chixuebao");
    InstalledTemplate() {
        tpl.mkdir("bankdata/pics");
        const std::pair<const char*, int> banks[] = {{"小车", 745}, {"客车", 801}, {"货车", 813}};
        std::uint32_t seed = 1;
        for (const auto& [name, count] : banks)
            BankFile::store(BankGenerator::make(count, seed++), tpl.file(std::string("bankdata/") + name + ".tk"));
        tpl.write("bankdata/sys.dat", std::string(2472784, '\0'));
        for (int i = 0; i < 420; ++i) tpl.write("bankdata/pics/" + std::to_string(i) + ".png", std::string(6000, 'p'));
        for (int i = 0; i < 60; ++i) tpl.write("skin/" + std::to_string(i) + ".png", std::string(4000, 's'));
        tpl.write("皮肤.ini", "[skin]\n");
        LearnerFolder::prepare(tpl.path(), folder);
        // A learner who has practised: every copy differs from its template
        // in its counters, so each comparison goes through every question.
        for (const auto& [name, count] : banks) {
            const std::string path = folder + "/bankdata/" + name + ".tk";
            auto bank = BankFile::open(path);
            for (int i = 1; i <= count; ++i) bank->records[static_cast<std::size_t>(i)].answerCount = i % 4;
            BankFile::store(*bank, path);
        }
    }
};

void BM_PrepareLearnerFolder(benchmark::State& state) {
    InstalledTemplate installed;
    for (auto _ : state) {
        auto report = LearnerFolder::prepare(installed.tpl.path(), installed.folder);
        if (!report.usable || !report.copied.empty()) state.SkipWithError("the folder was not up to date");
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_PrepareLearnerFolder)->Unit(benchmark::kMillisecond);

} // namespace
