#include "data/JournalReplay.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "data/Checksum.h"
#include "data/FixedField.h"

namespace cxb {
namespace {

// A counter that has reached the top of its range stays there: a damaged
// bank may hold any value.
void raise(std::int32_t& counter) {
    if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
}

} // namespace

int JournalReplay::apply(Bank& bank, const std::vector<JournalAnswer>& answers) {
    const int n = bank.questionCount();
    std::unordered_map<std::int32_t, std::vector<int>> positions;
    positions.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) positions[bank.records[static_cast<std::size_t>(i)].id].push_back(i);
    int found = 0;
    for (const JournalAnswer& a : answers) {
        auto it = positions.find(a.questionId);
        if (it == positions.end()) continue;
        ++found;
        for (int i : it->second) {
            QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
            raise(a.right ? r.rightCount : r.wrongCount);
            raise(r.answerCount);
        }
    }
    return found;
}

JournalRecovery JournalReplay::recover(AnswerJournal& journal, const std::string& bankTag, Bank& bank,
                                       std::string_view fileBytes) {
    JournalRecovery out;
    JournalBankStore store = journal.store(bankTag);
    if (store.intended) {
        // The program ended between the intent and its mark: the file tells
        // whether the new bytes were put in place.
        if (fnv1a64(fileBytes) == store.intendedSum) {
            out.storeReached = true;
            journal.markApplied(bankTag, store.intendedSeq);
            store.appliedSeq = store.intendedSeq;
        } else {
            journal.dropIntent(bankTag);
        }
    }
    out.answers = apply(bank, journal.answersAfter(bankTag, store.appliedSeq));
    return out;
}

bool JournalReplay::sameExam(const HistoryEntry& a, const HistoryEntry& b) {
    if (readField(a.takenAt) != readField(b.takenAt) || a.score != b.score || a.itemCount != b.itemCount ||
        readField(a.bankTag) != readField(b.bankTag))
        return false;
    const int n = std::clamp(a.itemCount, 0, static_cast<int>(HistoryEntry::kMaxItems));
    for (int i = 1; i <= n; ++i) {
        const HistoryItem &x = a.items[i], &y = b.items[i];
        if (x.questionId != y.questionId || x.userAnswer != y.userAnswer || x.firstRight != y.firstRight) return false;
    }
    return true;
}

int JournalReplay::restoreHandIns(const std::vector<JournalHandIn>& handIns, Sfile& state, int* missing) {
    int restored = 0, lacking = 0;
    for (const JournalHandIn& h : handIns) {
        if (h.entry.size() != sizeof(HistoryEntry)) continue; // not an entry this program wrote
        HistoryEntry entry;
        std::memcpy(&entry, h.entry.data(), sizeof entry);
        const int count = usableHistoryCount(state);
        bool present = false;
        for (int i = 1; i <= count && !present; ++i) present = sameExam(state.history[i], entry);
        if (present) continue;
        if (count >= Sfile::kMaxHistory) {
            ++lacking;
            continue;
        }
        state.historyCount = count + 1;
        state.history[state.historyCount] = entry;
        ++restored;
    }
    if (missing) *missing = lacking;
    return restored;
}

} // namespace cxb
