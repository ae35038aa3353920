#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "data/Bank.h"
#include "data/FileProblem.h"

namespace cxb {

// Brings a learner's copy of a shipped bank up to a newer shipped bank
// without losing what the learner has earned: the bank file is also where
// each question's counters are kept.
class BankUpgrade {
public:
    // True when both banks hold the same header, record 0 and questions,
    // whatever the order of the questions and their counters.
    static bool sameQuestions(const Bank& a, const Bank& b);

    // `shipped` in its own order, each question with the rightCount,
    // wrongCount and answerCount of the question with the same id in
    // `learner` (the first one, should an id be there twice), or with zero
    // counters when `learner` has no question of that id.
    static Bank carryCounters(const Bank& shipped, const Bank& learner);

    enum class Outcome {
        Unchanged, // the learner's copy holds the shipped questions already
        Created,   // there was no copy: the shipped bank was put there
        Upgraded,  // the copy became the shipped bank with its counters
        Salvaged,  // the copy could not be read as a bank: the shipped bank took
                   // its place with the counters of the copy's whole records
        Failed,    // nothing was changed; see error
    };
    struct Report {
        Outcome outcome = Outcome::Failed;
        int carried = 0; // questions whose counters came over (for Salvaged: saved from the damaged copy)
        int added = 0;   // shipped questions the copy did not have
        int dropped = 0; // questions of the copy the shipped bank no longer has
        std::string error;
        FileProblem damage = FileProblem::None; // for Salvaged: why the copy could not be read
        std::string backup; // where the previous copy was kept, when it was
    };

    // What bringing the learner's copy (nullopt when there is none) up to
    // the shipped bank's file bytes does, in memory: the report and, for
    // Created, Upgraded and Salvaged, the bytes the copy gets in `result`.
    static Report plan(std::string_view shipped, std::optional<std::string_view> learner, std::string& result);

    // Brings the file `learnerPath` up to the bank file `shippedPath`. When
    // the questions differ, the previous file is kept first as the next of
    // its backups (learnerPath + ".bak", ".bak.2", …; see BackupFiles). Every
    // file is written atomically; a failure leaves the learner's copy as it
    // was.
    static Report apply(const std::string& shippedPath, const std::string& learnerPath);
};

} // namespace cxb
