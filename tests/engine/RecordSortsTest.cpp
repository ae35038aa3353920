#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "data/BankGenerator.h"
#include "engine/RecordSorts.h"

using namespace cxb;

namespace {

// The exchange loop exactly as written, moving whole records.
template <typename Less>
void literalSort(Bank& bank, Less outOfOrder) {
    int n = bank.questionCount();
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (outOfOrder(bank.records[i], bank.records[j])) std::swap(bank.records[i], bank.records[j]);
}

Bank randomBank(int n, std::uint32_t seed, int keyRange) {
    Bank bank = BankGenerator::make(n, seed);
    std::mt19937 rng(seed);
    for (int i = 1; i <= n; ++i) {
        auto& r = bank.records[i];
        r.id = static_cast<int>(rng() % keyRange);
        r.answerCount = static_cast<int>(rng() % keyRange);
        r.wrongCount = static_cast<int>(rng() % keyRange);
        r.extra = i; // tells equal keys apart
    }
    return bank;
}

std::vector<int> order(const Bank& bank) {
    std::vector<int> out;
    for (int i = 1; i <= bank.questionCount(); ++i) out.push_back(bank.records[i].extra);
    return out;
}

} // namespace

TEST(RecordSorts, MatchLiteralLoopIncludingTies) {
    for (int n : {0, 1, 2, 3, 7, 50, 301}) {
        for (int range : {1, 2, 3, 10, 1000}) {
            for (std::uint32_t seed : {1u, 2u, 3u}) {
                Bank fast = randomBank(n, seed, range);
                Bank slow = fast;
                RecordSorts::sortById(fast);
                literalSort(slow, [](auto& a, auto& b) { return a.id < b.id; });
                ASSERT_EQ(order(fast), order(slow)) << "id n=" << n << " range=" << range;

                RecordSorts::sortByAnswerCount(fast);
                literalSort(slow, [](auto& a, auto& b) { return a.answerCount < b.answerCount; });
                ASSERT_EQ(order(fast), order(slow)) << "answerCount n=" << n << " range=" << range;

                RecordSorts::sortByWrongCount(fast);
                literalSort(slow, [](auto& a, auto& b) { return b.wrongCount < a.wrongCount; });
                ASSERT_EQ(order(fast), order(slow)) << "wrongCount n=" << n << " range=" << range;
                ASSERT_EQ(0, std::memcmp(fast.records.data(), slow.records.data(),
                                         sizeof(QuestionRecord) * fast.records.size()));
            }
        }
    }
}

TEST(RecordSorts, DescendingAndAscendingInputs) {
    for (bool descending : {false, true}) {
        Bank fast = randomBank(200, 9, 10);
        for (int i = 1; i <= 200; ++i) fast.records[i].id = descending ? 1000 - i : i;
        Bank slow = fast;
        RecordSorts::sortById(fast);
        literalSort(slow, [](auto& a, auto& b) { return a.id < b.id; });
        EXPECT_EQ(order(fast), order(slow));
    }
}

TEST(RecordSorts, FreshBankKeepsAnOrderForTiesAndSortsRecordZeroNever) {
    Bank bank = BankGenerator::make(20, 4);
    bank.records[0].id = 424242;
    RecordSorts::sortByWrongCount(bank); // all zero: nothing moves
    for (int i = 1; i <= 20; ++i) EXPECT_EQ(bank.records[i].id, BankGenerator::make(20, 4).records[i].id);
    bank.records[5].wrongCount = 3;
    bank.records[9].wrongCount = 7;
    bank.records[12].wrongCount = 1;
    RecordSorts::sortByWrongCount(bank);
    EXPECT_EQ(bank.records[1].wrongCount, 7);
    EXPECT_EQ(bank.records[2].wrongCount, 3);
    EXPECT_EQ(bank.records[3].wrongCount, 1);
    EXPECT_EQ(bank.records[0].id, 424242);
}
