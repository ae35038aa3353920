#include "engine/JournalMemory.h"

namespace cxb {

const MemoryBook& JournalMemory::book(const AnswerJournal* journal, const std::string& tag, LearnerDays days) {
    const bool same = book_ && journal == journal_ && tag == tag_ && days.utcOffsetMs == utcOffsetMs_;
    if (!same) {
        journal_ = journal;
        tag_ = tag;
        utcOffsetMs_ = days.utcOffsetMs;
        lastSeq_ = 0;
        answers_ = 0;
        std::vector<JournalAnswer> all;
        if (journal) all = journal->answers(tag);
        book_.emplace(all, days);
        if (!all.empty()) lastSeq_ = all.back().seq;
        answers_ = static_cast<std::int64_t>(all.size());
        return *book_;
    }
    if (!journal) return *book_;
    for (const JournalAnswer& a : journal->answersAfter(tag, lastSeq_)) {
        book_->add(a);
        lastSeq_ = a.seq;
        ++answers_;
    }
    return *book_;
}

void JournalMemory::forget() { book_.reset(); }

} // namespace cxb
