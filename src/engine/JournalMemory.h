#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "data/AnswerJournal.h"
#include "engine/MemoryBook.h"

namespace cxb {

// The memory states of one bank, kept up to date with the answer journal:
// the first look reads the bank's answers whole, every later one only the
// answers added since. Another journal, another bank or another time zone
// starts over.
class JournalMemory {
public:
    // The book of `tag`'s answers in `journal`; without a journal an empty
    // book.
    const MemoryBook& book(const AnswerJournal* journal, const std::string& tag, LearnerDays days);
    // The next look reads the journal whole.
    void forget();
    // The journal answers the book holds.
    std::int64_t answers() const { return answers_; }

private:
    std::optional<MemoryBook> book_;
    const AnswerJournal* journal_ = nullptr;
    std::string tag_;
    std::int64_t utcOffsetMs_ = 0;
    std::int64_t lastSeq_ = 0;
    std::int64_t answers_ = 0;
};

} // namespace cxb
