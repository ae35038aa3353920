#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/AnswerJournal.h"
#include "data/Bank.h"
#include "data/FileProblem.h"
#include "data/JournalReplay.h"
#include "engine/JournalPort.h"

namespace cxb {

// The answer journal of the learner's folder, "bankdata\journal.db" beside
// the state file. It takes every counted answer and every hand-in at once,
// writes the bank in three steps at the close (intent, file, mark), and at
// the start puts back into the bank and the history what an earlier run
// could not store. Without a journal (it cannot be opened) the trainer
// works as before: the counters reach the disk at the close only.
class JournalKeeper : public JournalPort {
public:
    static constexpr const char* kStoredPath = "bankdata\\journal.db";

    using Clock = std::function<std::int64_t()>; // Unix time in milliseconds
    JournalKeeper();
    void setClock(Clock clock) { clock_ = std::move(clock); }
    // The time the next answer would be stamped with.
    std::int64_t now() const { return clock_(); }

    // Opens (or makes) the journal; false, with the reason, when it cannot.
    bool open(const std::string& nativePath, std::string* why = nullptr);
    bool isOpen() const { return journal_.has_value(); }
    AnswerJournal* journal() { return journal_ ? &*journal_ : nullptr; }

    // The bank `tag` was just read from `nativePath` into `bank`: settles a
    // store that an earlier run left half done and applies the answers the
    // file does not hold. Answers from now on go to this bank.
    JournalRecovery bankOpened(const std::string& tag, const std::string& nativePath, Bank& bank);
    // The loaded bank's answers in the journal, oldest first (none without
    // a journal or a bank).
    std::vector<JournalAnswer> bankAnswers() const;
    const std::optional<std::string>& bankTag() const { return tag_; }
    // No bank is loaded: answers go nowhere.
    void bankClosed() { tag_.reset(); }
    // The tag answers go to now; none while no bank is loaded.
    const std::optional<std::string>& loadedTag() const { return tag_; }
    // The exams the journal holds and `state` lacks go back into its
    // history; how many. When the history already holds them all, they are
    // marked saved at once.
    int restoreHandIns(Sfile& state);

    // Writes the loaded bank to its file: first the intent (what the file
    // will hold), then the file, then the mark that its answers are stored.
    // "" on success, else what went wrong (with `problem`).
    std::string storeBank(const Bank& bank, const std::string& nativePath, FileProblem* problem);

    void answerCounted(std::int32_t questionId, bool right, std::int32_t given, std::int32_t mode) override;
    void handedIn(const HistoryEntry& entry) override;
    void stateSaved() override;

    // Test seam: called after each step of storeBank. A throw from it stands
    // for the program ending right there.
    enum class StoreStep { Intended, Written, Marked };
    std::function<void(StoreStep)> storeHook;

private:
    std::optional<AnswerJournal> journal_;
    std::optional<std::string> tag_; // the loaded bank, as history entries name it
    Clock clock_;
    void complain(const char* what);
};

} // namespace cxb
