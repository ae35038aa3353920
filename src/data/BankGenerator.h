#pragma once
#include <cstdint>

#include "data/Bank.h"

namespace cxb {

// Makes banks of any size (up to 1,999 questions) for tests and benchmarks:
// all three question types, Chinese texts with option lines, pictures on
// every fifth question ("pics\gen_<id>.png"), explanations on most.
class BankGenerator {
public:
    static Bank make(int questionCount, std::uint32_t seed = 1);
};

} // namespace cxb
