#include "engine/PassTrend.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>

#include "engine/PassChance.h"

namespace cxb {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : kDays[m - 1];
}

} // namespace

std::int64_t PassTrend::takenAtMs(const std::string& utf8, const LearnerDays& days) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    if (std::sscanf(utf8.c_str(), "%4d年%2d月%2d日%2d点%2d分%2d秒%n", &y, &mo, &d, &h, &mi, &s, &used) != 6) return -1;
    if (static_cast<std::size_t>(used) != utf8.size()) return -1;
    if (y < 1970 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59 || h < 0 ||
        mi < 0 || s < 0)
        return -1;
    const std::int64_t day = daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    return days.dayStartMs(day) + ((h * 60LL + mi) * 60LL + s) * 1000LL;
}

std::vector<double> PassTrend::chances(const std::vector<JournalAnswer>& answers, const std::vector<PaperMoment>& papers,
                                       const std::vector<std::int32_t>& bankIds, LearnerDays days) {
    std::vector<double> out(papers.size(), -1.0);
    std::vector<std::size_t> order(papers.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&papers](std::size_t a, std::size_t b) { return papers[a].atMs < papers[b].atMs; });
    const int c = static_cast<int>(bankIds.size());
    MemoryBook book({}, days);
    std::map<int, DrawSlices> slices; // by exam size: most papers share one
    std::size_t next = 0;
    for (std::size_t i : order) {
        const PaperMoment& p = papers[i];
        if (p.atMs < 0) continue;
        while (next < answers.size() && answers[next].atMs < p.atMs) book.add(answers[next++]);
        if (book.states().empty()) continue;
        const int n = PassChance::examSizeFor(p.examSize, c);
        auto it = slices.find(n);
        if (it == slices.end()) it = slices.emplace(n, DrawSlices(c, n)).first;
        out[i] = PassChance::estimate(book, bankIds, it->second, p.atMs).probability;
    }
    return out;
}

} // namespace cxb
