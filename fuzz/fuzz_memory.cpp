// The memory model's replay of journal answers, the 智能复习 list and the
// pass chance, from answers in any order, at any times, for any ids. Every
// figure must stay a number in its range.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/PassChance.h"
#include "engine/SmartReview.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int examSize = data[0];
    const int bankSize = 1 + data[1] % 64;
    std::vector<cxb::JournalAnswer> answers;
    std::int64_t t = 1780000000000LL;
    // Each answer: an id byte, then a signed step in minutes (two bytes)
    // whose lowest bit says right or wrong; steps far back set the clock back.
    for (std::size_t i = 2; i + 3 <= size; i += 3) {
        std::int16_t step;
        std::memcpy(&step, data + i + 1, sizeof step);
        t += static_cast<std::int64_t>(step) * 60000 * 7;
        cxb::JournalAnswer a;
        a.questionId = data[i] % 80 - 8; // some ids outside the bank
        a.right = (step & 1) != 0;
        a.atMs = t;
        answers.push_back(a);
    }
    cxb::MemoryBook book(answers);
    for (const auto& [id, s] : book.states()) {
        if (!(s.stability > 0.0) || !std::isfinite(s.stability)) std::abort();
        if (!(s.difficulty >= 1.0 && s.difficulty <= 10.0)) std::abort();
        double r = book.retrievability(id, t);
        if (!(r >= 0.0 && r <= 1.0)) std::abort();
    }
    std::vector<std::int32_t> ids;
    for (int i = 1; i <= bankSize; ++i) ids.push_back(i);
    cxb::ReviewSettings settings;
    settings.newPerDay = data[1] % 30;
    std::vector<std::int32_t> list = cxb::SmartReview::build(book, ids, t, settings);
    if (list.size() > book.states().size() + static_cast<std::size_t>(settings.newPerDay)) std::abort();
    cxb::DueCounts due = cxb::SmartReview::dueCounts(book, t, settings.retention);
    int sum = 0;
    for (int d : due) sum += d;
    if (sum > static_cast<int>(book.states().size())) std::abort();
    cxb::PassEstimate e = cxb::PassChance::estimate(book, ids, examSize, t);
    if (!(e.probability >= 0.0 && e.probability <= 1.0)) std::abort();
    if (e.examSize > bankSize || e.passScore > e.examSize) std::abort();
    return 0;
}
