#include "engine/JournalKeeper.h"

#include <chrono>
#include <cstdio>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/Checksum.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"

namespace cxb {

JournalKeeper::JournalKeeper()
    : clock_([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::system_clock::now().time_since_epoch())
              .count();
      }) {}

bool JournalKeeper::open(const std::string& nativePath, std::string* why) {
    auto opened = AnswerJournal::open(nativePath);
    if (!opened) {
        if (why) *why = opened.error();
        journal_.reset();
        return false;
    }
    journal_.emplace(std::move(*opened));
    return true;
}

void JournalKeeper::complain(const char* what) {
    // The answer is still counted in memory and stored at the close; only a
    // crash before that would lose it.
    std::fprintf(stderr, "chixuebao: the answer journal could not %s: %s\n", what, journal_->lastError().c_str());
}

JournalRecovery JournalKeeper::bankOpened(const std::string& tag, const std::string& nativePath, Bank& bank) {
    tag_ = tag;
    if (!journal_) return {};
    // The file's bytes matter only when a store was under way.
    std::string bytes;
    if (journal_->store(tag).intended) bytes = readFileBytes(nativePath).value_or(std::string());
    return JournalReplay::recover(*journal_, tag, bank, bytes);
}

int JournalKeeper::restoreHandIns(Sfile& state) {
    if (!journal_) return 0;
    const auto pending = journal_->pendingHandIns();
    if (pending.empty()) return 0;
    int missing = 0;
    const int restored = JournalReplay::restoreHandIns(pending, state, &missing);
    if (restored == 0 && missing == 0) journal_->markHandInsSaved(); // the state file holds them all
    return restored;
}

std::string JournalKeeper::storeBank(const Bank& bank, const std::string& nativePath, FileProblem* problem) {
    const std::string bytes = BankFile::serialize(bank);
    const bool journaled = journal_ && tag_;
    std::int64_t seq = 0;
    if (journaled) {
        seq = journal_->lastSeq(*tag_);
        // Without the intent on record, a file put in place but not marked
        // would have its answers counted again at the next start.
        if (!journal_->intendStore(*tag_, seq, fnv1a64(bytes))) {
            if (problem) *problem = journal_->lastFailureWasNoRoom() ? FileProblem::DiskFull : FileProblem::Other;
            return "the answer journal could not record the store: " + journal_->lastError();
        }
        if (storeHook) storeHook(StoreStep::Intended);
    }
    AtomicFile::Outcome saved = AtomicFile::save(nativePath, bytes);
    if (problem) *problem = saved.problem;
    if (!saved.ok()) return saved.why; // the intent stays: the next start sees the old bytes
    if (!journaled) return {};
    if (storeHook) storeHook(StoreStep::Written);
    // A mark that cannot be written is settled at the next start from the
    // file's checksum.
    if (!journal_->markApplied(*tag_, seq)) complain("mark the bank stored");
    if (storeHook) storeHook(StoreStep::Marked);
    return {};
}

void JournalKeeper::answerCounted(std::int32_t questionId, bool right, std::int32_t given, std::int32_t mode) {
    if (!journal_ || !tag_) return;
    JournalAnswer a;
    a.bank = *tag_;
    a.questionId = questionId;
    a.right = right;
    a.given = given;
    a.atMs = clock_();
    a.mode = mode;
    if (journal_->appendAnswer(a) == 0) complain("take an answer");
}

void JournalKeeper::handedIn(const HistoryEntry& entry) {
    if (!journal_) return;
    const std::string bank(readField(entry.bankTag));
    if (journal_->appendHandIn(bank, std::string_view(reinterpret_cast<const char*>(&entry), sizeof entry), clock_()) == 0)
        complain("take the exam");
}

void JournalKeeper::stateSaved() {
    if (journal_ && !journal_->markHandInsSaved()) complain("mark the exams saved");
}

std::vector<JournalAnswer> JournalKeeper::bankAnswers() const {
    if (!journal_ || !tag_) return {};
    return journal_->answers(*tag_);
}

} // namespace cxb
