#pragma once
#include <string>
#include <vector>

#include "data/Bank.h"

namespace cxb {

// Finds what is wrong with a bank: duplicate ids, answers that do not fit
// the type, unknown types, texts without a terminator, negative counters,
// and (when `pictureDir` is given) pictures that are missing. Each finding
// names the question.
std::vector<std::string> checkBank(const Bank& bank, const std::string& pictureDir);

} // namespace cxb
