// The state reader and the history entries on arbitrary bytes: whatever the
// counts say, reading stays inside the record, and the score trend drawn
// from them stays within its bounds.
#include <cstdlib>
#include <cstring>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/ProgressStats.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static auto state = cxb::StateFile::newRecord();
    std::memset(state.get(), 0, sizeof(cxb::Sfile));
    // Short inputs are laid over the head of the record; longer ones are
    // also laid over its history so that the counts there are random too.
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    cxb::StateFile::parse(bytes, *state);
    if (size >= 8) {
        std::int32_t count;
        std::memcpy(&count, data, 4);
        state->historyCount = count;
    }
    int n = cxb::usableHistoryCount(*state);
    if (n < 0 || n > 999) std::abort();
    for (int slot = 1; slot <= n; ++slot) {
        cxb::HistoryEntry& e = state->history[slot];
        if (size >= 12) std::memcpy(&e.itemCount, data + 4 + (slot % 2) * 4, 4);
        int items = cxb::usableItemCount(e);
        long sum = 0;
        for (int i = 1; i <= items; ++i) sum += static_cast<long>(e.items[i].questionId) + e.items[i].userAnswer;
        (void)sum;
        (void)cxb::gbk::toUtf8Lossy(cxb::readField(e.takenAt));
        (void)cxb::gbk::toUtf8Lossy(cxb::readField(e.bankTag));
    }
    (void)cxb::gbk::toUtf8Lossy(cxb::readField(state->bankPath));

    const cxb::ScoreTrend trend = cxb::ProgressStats::scoreTrend(*state);
    if (trend.papers.size() > static_cast<std::size_t>(n)) std::abort();
    if (trend.recentPassed < 0 || trend.recentPassed > trend.recentCount || trend.recentCount > 10) std::abort();
    for (const cxb::PaperPoint& p : trend.papers) {
        if (p.itemCount < 1 || p.itemCount > 199 || p.score < 0 || p.score > p.itemCount) std::abort();
        if (!(p.percent >= 0 && p.percent <= 100 && p.recentAverage >= 0 && p.recentAverage <= 100)) std::abort();
    }
    return 0;
}
