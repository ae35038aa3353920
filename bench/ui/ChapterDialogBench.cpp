// Speed of the chapter window: its rows worked out from a filed bank of
// 1,999 questions and the dialog built and filled with them, as a click on
// 章节练习 does before the window shows.
#include <QApplication>
#include <QImage>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <memory>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"
#include "data/StateFile.h"
#include "support/FiledBank.h"
#include "support/TempDir.h"
#include "ui/ChapterDialog.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

using namespace cxb;

namespace {

struct FiledWindow {
    test::TempDir dir;
    std::unique_ptr<MainWindow> window;
    FiledWindow() {
        Dialogs::setMessageHandler([](const QString&) {});
        dir.mkdir("bankdata");
        Bank bank = test::filedBank();
        BankFile::store(bank, dir.file("bankdata/b.tk"));
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
        window = std::make_unique<MainWindow>(QString::fromStdString(dir.path()));
    }
};

FiledWindow& fixture() {
    static FiledWindow* f = new FiledWindow;
    return *f;
}

void BM_ChapterDialogBuilt(benchmark::State& st) {
    MainWindow& w = *fixture().window;
    int rows = 0;
    for (auto _ : st) {
        ChapterDialog dialog(w);
        rows = dialog.tree()->topLevelItemCount();
        benchmark::DoNotOptimize(rows);
    }
    st.counters["chapters"] = rows;
}
BENCHMARK(BM_ChapterDialogBuilt)->Unit(benchmark::kMillisecond);

void BM_ChapterDialogShownAndPainted(benchmark::State& st) {
    MainWindow& w = *fixture().window;
    for (auto _ : st) {
        ChapterDialog dialog(w);
        dialog.show();
        QImage image(dialog.size(), QImage::Format_ARGB32_Premultiplied);
        dialog.render(&image);
        benchmark::DoNotOptimize(image.constBits());
        dialog.hide();
    }
}
BENCHMARK(BM_ChapterDialogShownAndPainted)->Unit(benchmark::kMillisecond);

} // namespace
