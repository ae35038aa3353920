#pragma once
#include <cstdint>
#include <string>

namespace cxb {

// STR_TK: one entry of the current question list, a copy of one question
// plus the learner's answer to it.
struct ListEntry {
    std::int32_t id = 0;
    std::int32_t answer = 0;     // the correct answer code
    std::int32_t userAnswer = 0; // 0 = not answered yet
    bool firstRight = false;     // the first answer since filling or reset was right
    std::string text;            // UTF-8
    std::string picture;         // stored form (GBK, backslashes)
    std::int32_t rightCount = 0; // snapshots of the record's counters
    std::int32_t wrongCount = 0;
    std::int32_t answerCount = 0;
    std::string explanation; // UTF-8
    std::int32_t type = 0;
    std::int32_t extra = 0;
    bool counted = false; // the answer has reached the record's counters
};

} // namespace cxb
