// Speed of drawing the window at another scale than designed: putting every
// control of the main window at a new scale (what a learner's resize costs),
// and a full repaint of a 1,999-cell picker at the 1366 × 768 laptop's scale.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QResizeEvent>
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

using ScaledWindow = cxb::bench::BenchWindow;

void BM_ResizeToNewScale(benchmark::State& st) {
    ScaledWindow f;
    int step = 0;
    for (auto _ : st) {
        // Between the laptop's scale and the design, so every step changes it.
        const int width = (step++ % 2) ? 1086 : 1061;
        f.window->resize(width, width * 785 / 1086);
        QResizeEvent event(f.window->size(), QSize());
        QCoreApplication::sendEvent(f.window.get(), &event);
        benchmark::DoNotOptimize(f.window->scale());
    }
}
BENCHMARK(BM_ResizeToNewScale)->Unit(benchmark::kMillisecond);

void BM_ScaledPickerFullRepaint(benchmark::State& st) {
    ScaledWindow f;
    PickerWidget* picker = f.window->questionPanel().picker();
    picker->setScale(768.0 / 786);
    QImage image(picker->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        picker->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    st.counters["cells"] = f.window->trainer().s.listCount;
}
BENCHMARK(BM_ScaledPickerFullRepaint)->Unit(benchmark::kMillisecond);

} // namespace
