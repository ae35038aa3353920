// Speed of what the keyboard and print work added: moving to the next
// question (the view, its accessible descriptions) and laying a paper of 100
// questions out for the printer, question by question.
#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBrowser>
#include <benchmark/benchmark.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PaperPrint.h"

using namespace cxb;

namespace {

void BM_NextQuestionWithDescriptions(benchmark::State& st) {
    test::TempDir dir;
    Dialogs::setMessageHandler([](const QString&) {});
    dir.mkdir("bankdata");
    Bank bank = BankGenerator::make(200, 5);
    for (int i = 1; i <= 200; ++i) bank.records[static_cast<std::size_t>(i)].picture[0] = '\0';
    BankFile::store(bank, dir.file("bankdata/b.tk"));
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    writeField(state->bankPath, "bankdata\\b.tk");
    StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
    MainWindow window(QString::fromStdString(dir.path()));
    window.trainer().modes.SunXuClick();
    Navigator& nav = window.trainer().nav;
    for (auto _ : st) {
        nav.DOClick();
        benchmark::DoNotOptimize(window.trainer().s.current);
        if (window.trainer().s.current >= window.trainer().s.listCount - 1) window.trainer().modes.SunXuClick();
    }
    Dialogs::setMessageHandler({});
}
BENCHMARK(BM_NextQuestionWithDescriptions)->Unit(benchmark::kMicrosecond);

void BM_PrintPaper100(benchmark::State& st) {
    test::TempDir dir;
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    picture.save(QString::fromStdString(dir.file("p.png")));
    QString html = QStringLiteral("<html><head><title>驰学宝</title></head><body><table width=\"583\" border=\"0\">");
    for (int i = 1; i <= 100; ++i) {
        html += QStringLiteral("<tr><td width=\"370\" height=\"163\">%1,驾驶机动车在道路上行驶，遇到这种情况应当怎样做？"
                               "<br>A、减速<br>B、加速<br>C、停车<br>D、鸣喇叭<p name=\"da\">答案：A</p></td><td width=\"197\">%2</td></tr>")
                    .arg(i)
                    .arg(i % 5 == 0 ? QStringLiteral("<img src=\"p.png\"  />") : QString());
    }
    html += QStringLiteral("</table></body></html>");
    QTextBrowser view;
    view.setSearchPaths({QString::fromStdString(dir.path())});
    view.setHtml(html);
    std::size_t pages = 0;
    for (auto _ : st) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setPageSize(QPageSize(QPageSize::A4));
        const auto rows = PaperPrint::print(*view.document(), writer, [&view](const QUrl& url) {
            return view.loadResource(QTextDocument::ImageResource, url);
        });
        pages = rows.empty() ? 0 : static_cast<std::size_t>(rows.back().page + 1);
        benchmark::DoNotOptimize(out.size());
    }
    st.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_PrintPaper100)->Unit(benchmark::kMillisecond);

} // namespace
