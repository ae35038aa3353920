#include "data/Bank.h"

#include <cstring>

namespace cxb {

Bank::Bank() : records(kCapacity) { std::memset(&header, 0, sizeof header); }

int Bank::questionCount() const {
    int n = header.questionCount;
    return n < 0 ? 0 : (n > kMaxQuestions ? kMaxQuestions : n);
}

int Bank::findById(std::int32_t id) const {
    int n = questionCount();
    for (int i = 1; i <= n; ++i)
        if (records[static_cast<std::size_t>(i)].id == id) return i;
    return 0;
}

} // namespace cxb
