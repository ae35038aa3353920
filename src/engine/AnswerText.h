#pragma once
#include <cstdint>
#include <string>

namespace cxb {

// The display text of an answer code: letters for a multiple-choice set,
// A–D or 对/错 otherwise, empty for anything else.
std::string answerText(std::int32_t type, std::int32_t code);

} // namespace cxb
