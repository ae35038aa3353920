#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/Result.h"

namespace cxb {

// One counted answer.
struct JournalAnswer {
    std::int64_t seq = 0;         // journal order, increasing
    std::string bank;             // the bank's tag as history entries store it (GBK bytes)
    std::int32_t questionId = 0;
    bool right = false;
    std::int32_t given = 0;       // the answer code given
    std::int64_t atMs = 0;        // Unix time in milliseconds
    std::int32_t mode = 0;        // the list's modeCode when answered
};

// One recorded exam: the whole history entry as it went into the state.
struct JournalHandIn {
    std::int64_t seq = 0;
    std::string bank;
    std::int64_t atMs = 0;
    std::string entry; // the HistoryEntry bytes
    bool saved = false; // the state file holding it has been written
};

// Where the counters of one bank stand: every answer up to appliedSeq is in
// the bank file. While a store is under way, intendedSeq and intendedSum
// name what it writes (the answers it covers, the checksum of its bytes).
struct JournalBankStore {
    std::int64_t appliedSeq = 0;
    bool intended = false;
    std::int64_t intendedSeq = 0;
    std::uint64_t intendedSum = 0;
};

// The answer journal: every counted answer and every recorded exam, each
// committed to an SQLite file (WAL mode) the moment it happens, so a crash
// or a forced end loses none of them. The layout is in docs/JOURNAL.md.
// Each write is one transaction; a write that fails returns 0 or false and
// leaves lastError().
class AnswerJournal {
public:
    static constexpr int kVersion = 2; // PRAGMA user_version of the layout

    // Opens the journal at `path`, creating it when missing; a journal of
    // layout 1 gains the favourites table. Refused: a file
    // that is no SQLite database, one of another layout, one of a newer
    // version.
    static Result<AnswerJournal> open(const std::string& path);

    AnswerJournal(AnswerJournal&&) noexcept;
    AnswerJournal& operator=(AnswerJournal&&) noexcept;
    ~AnswerJournal();

    // Appends a counted answer (its seq is assigned); the new seq, 0 on failure.
    std::int64_t appendAnswer(const JournalAnswer& answer);
    // Appends a recorded exam, not yet saved; its seq, 0 on failure.
    std::int64_t appendHandIn(const std::string& bank, std::string_view entry, std::int64_t atMs);
    // Every hand-in so far is in the state file.
    bool markHandInsSaved();
    std::vector<JournalHandIn> pendingHandIns() const;

    // Every answer of that bank, oldest first.
    std::vector<JournalAnswer> answers(const std::string& bank) const;
    // The answers of that bank after `seq`, oldest first.
    std::vector<JournalAnswer> answersAfter(const std::string& bank, std::int64_t seq) const;
    // The seq of the bank's newest answer, 0 when it has none.
    std::int64_t lastSeq(const std::string& bank) const;

    JournalBankStore store(const std::string& bank) const;
    // Before a bank file is put in place: what it will hold.
    bool intendStore(const std::string& bank, std::int64_t seq, std::uint64_t sum);
    // The bank file holds every answer up to `seq`; the intended store is done.
    bool markApplied(const std::string& bank, std::int64_t seq);
    // The intended store did not reach the file.
    bool dropIntent(const std::string& bank);

    // Stars a question of that bank for 我的收藏, or takes its star away;
    // committed at once like an answer. False on failure.
    bool setFavourite(const std::string& bank, std::int32_t questionId, bool starred, std::int64_t atMs);
    // The starred questions of that bank, in the order they were starred.
    std::vector<std::int32_t> favourites(const std::string& bank) const;

    const std::string& lastError() const;
    // The last failure was a write that found no room (a full disk, a file
    // size limit).
    bool lastFailureWasNoRoom() const;

private:
    struct Impl;
    explicit AnswerJournal(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d_;
};

} // namespace cxb
