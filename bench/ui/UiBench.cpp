// Speed of the window's drawing: a full repaint of a 1,999-cell picker and
// filling a list view with 1,999 rows.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "BenchWindow.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PickerWidget.h"
#include "ui/QuestionPanel.h"

using namespace cxb;

namespace {

struct Fixture : cxb::bench::BenchWindow {
    Fixture() {
        // Half of the list answered, so the cells show their state colours.
        Session& s = window->trainer().s;
        for (int i = 1; i <= s.listCount; i += 2) s.entry(i).userAnswer = (i % 3) ? s.entry(i).answer : 99;
    }
};

Fixture* gFixture = nullptr;
Fixture& fixture() {
    if (!gFixture) gFixture = new Fixture;
    return *gFixture;
}

void BM_PickerFullRepaint(benchmark::State& st) {
    PickerWidget* picker = fixture().window->questionPanel().picker();
    QImage image(picker->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        QPainter painter(&image);
        picker->paintPicker(painter, picker->rect());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    st.counters["cells"] = fixture().window->trainer().s.listCount;
}
BENCHMARK(BM_PickerFullRepaint)->Unit(benchmark::kMillisecond);

void BM_FillSearchList(benchmark::State& st) {
    Trainer& t = fixture().window->trainer();
    t.search.setSearchText("");
    auto* list = fixture().window->findChild<QTreeWidget*>("lv2");
    for (auto _ : st) {
        t.search.souClick();
        benchmark::DoNotOptimize(list->topLevelItemCount());
    }
    st.counters["rows"] = list->topLevelItemCount();
}
BENCHMARK(BM_FillSearchList)->Unit(benchmark::kMillisecond);

void BM_FillReviewList(benchmark::State& st) {
    Trainer& t = fixture().window->trainer();
    for (int i = 1; i <= t.s.questionCount(); ++i) t.s.record(i).wrongCount = 1 + i % 4;
    auto* list = fixture().window->findChild<QTreeWidget*>("lv1");
    for (auto _ : st) {
        t.review.btnQuanBuClick();
        benchmark::DoNotOptimize(list->topLevelItemCount());
    }
    st.counters["rows"] = list->topLevelItemCount();
}
BENCHMARK(BM_FillReviewList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete gFixture; // before the application goes
    gFixture = nullptr;
    return 0;
}
