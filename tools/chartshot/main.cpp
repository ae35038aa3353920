// Renders the chart views over a sample learner's history and bank into PNG
// files, for the pictures in the README:
//   chartshot trend docs/trend.png
//   chartshot progress docs/progress.png
// Run it on the offscreen platform (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QFont>
#include <QPixmap>
#include <cstdio>
#include <cstring>

#include "data/Bank.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/ProgressStats.h"
#include "ui/charts/ProgressView.h"
#include "ui/charts/TrendChartView.h"

using namespace cxb;

namespace {

// Twenty-four papers of the car bank over six weeks, climbing from the low
// seventies to the pass line and above, with a bus paper among them.
std::unique_ptr<Sfile> sampleHistory() {
    auto st = StateFile::newRecord();
    StateFile::resetState(*st);
    const int scores[] = {62, 71, 68, 75, 79, 74, 82, 85, 80, 88, 86, 91,
                          84, 90, 93, 89, 92, 95, 91, 94, 97, 93, 96, 98};
    int slot = 0;
    int day = 1;
    for (int score : scores) {
        HistoryEntry& e = st->history[++slot];
        char when[64];
        std::snprintf(when, sizeof when, "2024年%02d月%02d日%02d点%02d分12秒", 3 + (day - 1) / 30, (day - 1) % 30 + 1,
                      19 + slot % 3, (slot * 17) % 60);
        writeField(e.takenAt, gbk::fromUtf8Lossy(when));
        writeField(e.bankTag, slot == 6 ? "TKkeche" : "TKxiaoche");
        e.score = score;
        e.itemCount = 100;
        day += 1 + slot % 3;
    }
    st->historyCount = slot;
    return st;
}

// The generated bank of 1,999 questions with the counters of some weeks of
// practice: most questions met, the hard ones missed now and then.
Bank sampleBank() {
    Bank bank = BankGenerator::make(1999, 7);
    for (int i = 1; i <= 1999; ++i) {
        QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        const int seen = (i * 7919) % 11;
        if (seen < 3) continue; // never met
        r.wrongCount = (i * 104729) % 9 < 3 ? 1 + i % 3 : 0;
        r.rightCount = 1 + (i % 4);
        r.answerCount = r.rightCount + r.wrongCount;
    }
    return bank;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "trend") != 0 && std::strcmp(argv[1], "progress") != 0)) {
        std::fprintf(stderr, "usage: chartshot trend|progress OUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::unique_ptr<QDialog> view;
    if (std::strcmp(argv[1], "trend") == 0)
        view = std::make_unique<TrendChartView>(ProgressStats::scoreTrend(*sampleHistory()));
    else
        view = std::make_unique<ProgressView>(ProgressStats::bankProgress(sampleBank()));
    view->show();
    QApplication::processEvents();
    if (!view->grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "chartshot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
