#pragma once
// A generated bank spread over the chapters and topics (one question in 50
// left unfiled) with a history of answers: what the benchmarks of the lists
// by chapter and topic and of the chapter window measure on.
#include <cstddef>

#include "data/BankGenerator.h"
#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"

namespace cxb::test {

inline Bank filedBank(int questions = 1999) {
    Bank b = BankGenerator::make(questions, 5);
    for (int i = 1; i <= questions; ++i) {
        QuestionRecord& r = b.records[static_cast<std::size_t>(i)];
        if (i % 50 != 0) QuestionFiling::store(r, {i % 4, i % static_cast<int>(QuestionTopics::kTopics.size())});
        r.wrongCount = (i * 7919) % 5;
        r.answerCount = (i * 104729) % 9;
    }
    return b;
}

} // namespace cxb::test
