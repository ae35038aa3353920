#include "engine/RecordSorts.h"

#include <algorithm>
#include <cstring>

namespace cxb {

std::vector<int> RecordSorts::exchangeOrder(const std::vector<std::int64_t>& keys) {
    const int n = keys.empty() ? 0 : static_cast<int>(keys.size()) - 1;
    std::vector<int> pos(static_cast<std::size_t>(n) + 1);
    std::vector<std::int64_t> key(keys);
    for (int p = 0; p <= n; ++p) pos[static_cast<std::size_t>(p)] = p;
    if (n < 2) return pos;
    auto swapAt = [&](int a, int b) {
        std::swap(key[static_cast<std::size_t>(a)], key[static_cast<std::size_t>(b)]);
        std::swap(pos[static_cast<std::size_t>(a)], pos[static_cast<std::size_t>(b)]);
    };
    // i = 1: position 1 collects the largest key, passing what it held on.
    for (int j = 2; j <= n; ++j)
        if (key[1] < key[static_cast<std::size_t>(j)]) swapAt(1, j);
    // From i = 2 on, 1..i-1 is ascending and ends in the largest key, so
    // nothing beyond i is ever exchanged, and before the first key greater
    // than key(i) nothing is either: start the inner loop there.
    for (int i = 2; i <= n; ++i) {
        const std::int64_t x = key[static_cast<std::size_t>(i)];
        int j = static_cast<int>(std::upper_bound(key.begin() + 1, key.begin() + i, x) - key.begin());
        for (; j < i; ++j)
            if (key[static_cast<std::size_t>(i)] < key[static_cast<std::size_t>(j)]) swapAt(i, j);
    }
    return pos;
}

namespace {

template <typename KeyOf>
void sortRecords(Bank& bank, KeyOf keyOf) {
    const int n = bank.questionCount();
    if (n < 2) return;
    std::vector<std::int64_t> keys(static_cast<std::size_t>(n) + 1);
    for (int p = 1; p <= n; ++p) keys[static_cast<std::size_t>(p)] = keyOf(bank.records[static_cast<std::size_t>(p)]);
    std::vector<int> order = RecordSorts::exchangeOrder(keys);
    std::vector<QuestionRecord> sorted(static_cast<std::size_t>(n));
    for (int p = 1; p <= n; ++p)
        sorted[static_cast<std::size_t>(p - 1)] = bank.records[static_cast<std::size_t>(order[static_cast<std::size_t>(p)])];
    std::memcpy(&bank.records[1], sorted.data(), sorted.size() * sizeof(QuestionRecord));
}

} // namespace

void RecordSorts::sortById(Bank& bank) {
    sortRecords(bank, [](const QuestionRecord& r) { return static_cast<std::int64_t>(r.id); });
}

void RecordSorts::sortByAnswerCount(Bank& bank) {
    sortRecords(bank, [](const QuestionRecord& r) { return static_cast<std::int64_t>(r.answerCount); });
}

void RecordSorts::sortByWrongCount(Bank& bank) {
    // "j before i when wrongCount(j) < wrongCount(i)" is the ascending loop
    // on the negated count.
    sortRecords(bank, [](const QuestionRecord& r) { return -static_cast<std::int64_t>(r.wrongCount); });
}

} // namespace cxb
