#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/AnswerJournal.h"
#include "data/Bank.h"
#include "data/Sfile.h"

namespace cxb {

// What the start-up took back from the journal for one bank.
struct JournalRecovery {
    int answers = 0;          // answers added to the bank's counters
    bool storeReached = false; // an interrupted store had reached the file after all
};

// Puts what the journal holds and the files lack back into them: the
// answers after the bank's last store into its counters, the recorded exams
// the state file lacks into its history. Only memory is changed; the files
// are written at their usual moments.
class JournalReplay {
public:
    // Adds each answer once to the counters of every question with its id,
    // as answering does. Returns how many answers found their question.
    static int apply(Bank& bank, const std::vector<JournalAnswer>& answers);

    // With `bank` just read from its file, whose bytes are `fileBytes`:
    // first settles a store that was under way when the program ended (the
    // file holds the intended bytes, or the old ones), then applies the
    // answers the file does not hold yet.
    static JournalRecovery recover(AnswerJournal& journal, const std::string& bankTag, Bank& bank,
                                   std::string_view fileBytes);

    // Appends to the history each recorded exam the journal has not seen
    // saved and the history lacks. Returns how many went back; `missing`
    // counts those that found no free slot.
    static int restoreHandIns(const std::vector<JournalHandIn>& handIns, Sfile& state, int* missing = nullptr);

    // The same exam: the fields a hand-in writes are equal (the slot bytes
    // after them may differ).
    static bool sameExam(const HistoryEntry& a, const HistoryEntry& b);
};

} // namespace cxb
