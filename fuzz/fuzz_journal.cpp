// The journal's replay on arbitrary journals. Bit 0 of the first byte picks
// the form of the input: the rest is either the bytes of a journal file
// (SQLite's own reader then sees damaged pages, foreign tables, odd values),
// or a list of journal writes made through the journal itself (answers with
// odd ids, banks and codes, hand-ins of any size, intents and marks with any
// seq and checksum). Then a start takes back what it finds, and a close
// stores the bank; whatever the journal held, the start counts each answer
// after the bank's last store exactly once, and a start after that close (or
// after a crash at any point of it) counts none again.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <unordered_map>

#include "data/AnswerJournal.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/Checksum.h"
#include "data/JournalReplay.h"
#include "data/Sfile.h"
#include "data/StateFile.h"

using namespace cxb;

namespace {

const std::string kTags[] = {"TKxiaoche", "TKkeche", "", "\xcd\xe2\xbc\xd3.tk"};

// One folder for the whole run, removed at the end.
struct Folder {
    std::string path;
    Folder() {
        // In memory where there is a memory file system: every run makes a
        // database, and a disk's flushes would make each run slow.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        std::string pattern = (base / "cxb-fuzz-journal-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string journal() const { return path + "/journal.db"; }
    void clear() const {
        std::error_code ec;
        for (const char* end : {"", "-wal", "-shm"}) std::filesystem::remove(journal() + end, ec);
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

struct Reader {
    const unsigned char* p;
    std::size_t n;
    bool more() const { return n > 0; }
    std::uint8_t byte() {
        if (!n) return 0;
        --n;
        return *p++;
    }
    std::int64_t int64(int bytes) {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(byte()) << (8 * i);
        return static_cast<std::int64_t>(v);
    }
};

// A small bank: ids 1..20, the id 7 twice, counters zero.
Bank smallBank() {
    Bank b = BankGenerator::make(21, 5);
    for (int i = 1; i <= 21; ++i) {
        auto& r = b.records[static_cast<std::size_t>(i)];
        r.id = i == 21 ? 7 : i;
        r.rightCount = r.wrongCount = r.answerCount = 0;
    }
    return b;
}

long long total(const Bank& b) {
    long long sum = 0;
    for (int i = 1; i <= b.questionCount(); ++i) sum += b.records[static_cast<std::size_t>(i)].answerCount;
    return sum;
}

// How often each answer after `seq` of `tag` should be counted.
long long expected(AnswerJournal& j, const std::string& tag, std::int64_t seq, const Bank& b) {
    std::unordered_map<std::int32_t, int> times;
    for (int i = 1; i <= b.questionCount(); ++i) ++times[b.records[static_cast<std::size_t>(i)].id];
    long long sum = 0;
    for (const auto& a : j.answersAfter(tag, seq))
        if (auto it = times.find(a.questionId); it != times.end()) sum += it->second;
    return sum;
}

void writes(AnswerJournal& j, Reader& in, const std::string& freshSum) {
    while (in.more()) {
        const std::string& tag = kTags[in.byte() % 4];
        switch (in.byte() % 7) {
        case 0:
        case 1: {
            JournalAnswer a;
            a.bank = tag;
            a.questionId = static_cast<std::int32_t>(static_cast<std::int8_t>(in.byte())) % 25;
            a.right = in.byte() & 1;
            a.given = static_cast<std::int32_t>(in.int64(4));
            a.atMs = in.int64(8);
            a.mode = static_cast<std::int32_t>(in.int64(4));
            j.appendAnswer(a);
            break;
        }
        case 2: {
            std::string entry(in.byte() & 1 ? sizeof(HistoryEntry) : in.byte(), '\0');
            for (std::size_t i = 0; i < entry.size() && in.more() && i < 64; ++i) entry[i] = static_cast<char>(in.byte());
            j.appendHandIn(tag, entry, in.int64(8));
            break;
        }
        case 3: {
            const std::int64_t seq = in.byte() & 1 ? j.lastSeq(tag) : in.int64(3);
            const std::uint64_t sum = in.byte() & 1 ? fnv1a64(freshSum) : static_cast<std::uint64_t>(in.int64(8));
            j.intendStore(tag, seq, sum);
            break;
        }
        case 4: j.markApplied(tag, in.byte() & 1 ? j.lastSeq(tag) : in.int64(3)); break;
        case 5: j.dropIntent(tag); break;
        default: j.markHandInsSaved(); break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 1) return 0;
    const Folder& f = folder();
    f.clear();
    Reader in{data + 1, size - 1};
    const Bank shipped = smallBank();
    const std::string fileBytes = BankFile::serialize(shipped);
    if (data[0] & 1) {
        std::ofstream(f.journal(), std::ios::binary).write(reinterpret_cast<const char*>(in.p), static_cast<std::streamsize>(in.n));
    }
    auto opened = AnswerJournal::open(f.journal());
    if (!opened) return 0;
    AnswerJournal& j = *opened;
    if (!(data[0] & 1)) writes(j, in, fileBytes);

    const std::string tag = kTags[(data[0] >> 1) % 4];
    auto state = StateFile::newRecord();
    JournalReplay::restoreHandIns(j.pendingHandIns(), *state);
    if (usableHistoryCount(*state) != state->historyCount) std::abort();

    // The start.
    Bank bank = shipped;
    const JournalRecovery r = JournalReplay::recover(j, tag, bank, fileBytes);
    const JournalBankStore settled = j.store(tag);
    if (settled.intended) std::abort(); // every start settles the intent
    if (total(bank) != expected(j, tag, settled.appliedSeq, shipped) || r.answers < 0) std::abort();

    // The close: intent, file, mark; a crash after the intent leaves either file.
    const std::string stored = BankFile::serialize(bank);
    const std::int64_t last = j.lastSeq(tag);
    if (!j.intendStore(tag, last, fnv1a64(stored))) return 0;
    const int crashAt = (data[0] >> 3) % 3; // 0 before the file, 1 before the mark, 2 no crash
    if (crashAt == 2) j.markApplied(tag, last);
    const std::string& onDisk = crashAt == 0 ? fileBytes : stored;
    Bank next = *BankFile::parse(onDisk);
    JournalReplay::recover(j, tag, next, onDisk);
    if (total(next) != total(bank)) std::abort(); // counted once, never twice, none lost
    return 0;
}
