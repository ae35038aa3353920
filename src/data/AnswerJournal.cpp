#include "data/AnswerJournal.h"

#include <limits>
#include <map>
#include <sqlite3.h>

#include "data/SqliteStatement.h"

namespace cxb {
namespace {

constexpr const char* kSchema = R"(
CREATE TABLE banks(
  id INTEGER PRIMARY KEY,
  tag BLOB NOT NULL UNIQUE,
  applied_seq INTEGER NOT NULL DEFAULT 0,
  intended_seq INTEGER,
  intended_sum INTEGER
);
CREATE TABLE answers(
  seq INTEGER PRIMARY KEY,
  bank INTEGER NOT NULL,
  question INTEGER NOT NULL,
  correct INTEGER NOT NULL,
  given INTEGER NOT NULL,
  at_ms INTEGER NOT NULL,
  mode INTEGER NOT NULL
);
CREATE INDEX answers_by_bank ON answers(bank, seq);
CREATE TABLE handins(
  seq INTEGER PRIMARY KEY,
  bank INTEGER NOT NULL,
  at_ms INTEGER NOT NULL,
  entry BLOB NOT NULL,
  saved INTEGER NOT NULL DEFAULT 0
);
)";

// Added in layout 2: the learner's starred questions, by bank and id.
constexpr const char* kFavourites = R"(
CREATE TABLE favourites(
  bank INTEGER NOT NULL,
  question INTEGER NOT NULL,
  at_ms INTEGER NOT NULL,
  PRIMARY KEY(bank, question)
) WITHOUT ROWID;
)";

std::string errorOf(sqlite3* db) { return db ? sqlite3_errmsg(db) : "no database"; }

} // namespace

struct AnswerJournal::Impl {
    sqlite3* db = nullptr;
    std::string error;
    int code = SQLITE_OK; // extended code of the last failure
    std::map<std::string, std::int64_t> bankIds;
    SqliteStatement insertAnswer, insertHandIn, findBank, insertBank, answersAfter, lastSeq, storeOf, intend,
        applied, drop, pending, markSaved, star, unstar, starred;

    ~Impl() {
        // Statements first: a connection with open statements does not close.
        for (SqliteStatement* q : {&insertAnswer, &insertHandIn, &findBank, &insertBank, &answersAfter, &lastSeq,
                                   &storeOf, &intend, &applied, &drop, &pending, &markSaved, &star, &unstar,
                                   &starred})
            *q = SqliteStatement();
        sqlite3_close(db);
    }

    bool exec(const char* sql) {
        char* msg = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &msg) == SQLITE_OK) return true;
        error = msg ? msg : errorOf(db);
        sqlite3_free(msg);
        return false;
    }
    bool fail() {
        error = errorOf(db);
        code = db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
        return false;
    }

    bool prepare() {
        struct Item {
            SqliteStatement* stmt;
            const char* sql;
        } items[] = {
            {&insertAnswer, "INSERT INTO answers(bank, question, correct, given, at_ms, mode) VALUES(?,?,?,?,?,?)"},
            {&insertHandIn, "INSERT INTO handins(bank, at_ms, entry, saved) VALUES(?,?,?,0)"},
            {&findBank, "SELECT id FROM banks WHERE tag = ?"},
            {&insertBank, "INSERT INTO banks(tag) VALUES(?)"},
            {&answersAfter, "SELECT seq, question, correct, given, at_ms, mode FROM answers "
                            "WHERE bank = ? AND seq > ? ORDER BY seq"},
            {&lastSeq, "SELECT max(seq) FROM answers WHERE bank = ?"},
            {&storeOf, "SELECT applied_seq, intended_seq, intended_sum FROM banks WHERE id = ?"},
            {&intend, "UPDATE banks SET intended_seq = ?, intended_sum = ? WHERE id = ?"},
            {&applied, "UPDATE banks SET applied_seq = ?, intended_seq = NULL, intended_sum = NULL WHERE id = ?"},
            {&drop, "UPDATE banks SET intended_seq = NULL, intended_sum = NULL WHERE id = ?"},
            {&pending, "SELECT h.seq, b.tag, h.at_ms, h.entry FROM handins h JOIN banks b ON b.id = h.bank "
                       "WHERE h.saved = 0 ORDER BY h.seq"},
            {&markSaved, "UPDATE handins SET saved = 1 WHERE saved = 0"},
            {&star, "INSERT OR IGNORE INTO favourites(bank, question, at_ms) VALUES(?,?,?)"},
            {&unstar, "DELETE FROM favourites WHERE bank = ? AND question = ?"},
            {&starred, "SELECT question FROM favourites WHERE bank = ? ORDER BY at_ms, question"},
        };
        for (auto& item : items) {
            *item.stmt = SqliteStatement(db, item.sql);
            if (!item.stmt->valid()) return fail();
        }
        return true;
    }

    // The bank's row id; 0 when it has none and `create` is false, or on failure.
    std::int64_t bankId(const std::string& tag, bool create) {
        if (auto it = bankIds.find(tag); it != bankIds.end()) return it->second;
        findBank.bindBlob(1, tag);
        std::int64_t id = findBank.step() ? findBank.integer(0) : 0;
        findBank.reset();
        if (id == 0 && create) {
            insertBank.bindBlob(1, tag);
            if (!insertBank.run()) {
                fail();
                return 0;
            }
            id = sqlite3_last_insert_rowid(db);
        }
        if (id != 0) bankIds[tag] = id;
        return id;
    }
};

AnswerJournal::AnswerJournal(std::unique_ptr<Impl> impl) : d_(std::move(impl)) {}
AnswerJournal::AnswerJournal(AnswerJournal&&) noexcept = default;
AnswerJournal& AnswerJournal::operator=(AnswerJournal&&) noexcept = default;
AnswerJournal::~AnswerJournal() = default;

const std::string& AnswerJournal::lastError() const { return d_->error; }

bool AnswerJournal::lastFailureWasNoRoom() const {
    return d_->code == SQLITE_FULL || d_->code == SQLITE_IOERR_WRITE;
}

Result<AnswerJournal> AnswerJournal::open(const std::string& path) {
    auto d = std::make_unique<Impl>();
    if (sqlite3_open_v2(path.c_str(), &d->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        return Result<AnswerJournal>::failure("cannot open " + path + ": " + errorOf(d->db));
    // A damaged file must not be able to make SQLite write outside its pages.
    sqlite3_db_config(d->db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_busy_timeout(d->db, 2000);
    int version = -1;
    {
        SqliteStatement v(d->db, "PRAGMA user_version");
        if (v.step()) version = static_cast<int>(v.integer(0));
    }
    if (version < 0) return Result<AnswerJournal>::failure(path + " is not a journal: " + errorOf(d->db));
    if (version > kVersion)
        return Result<AnswerJournal>::failure(path + " was written by a newer version (layout " +
                                              std::to_string(version) + ")");
    if (version == 0) {
        // A database of someone else's is left exactly as it is.
        SqliteStatement tables(d->db, "SELECT count(*) FROM sqlite_master");
        if (!tables.step()) return Result<AnswerJournal>::failure(path + ": " + errorOf(d->db));
        if (tables.integer(0) != 0) return Result<AnswerJournal>::failure(path + " holds tables of another layout");
    }
    if (version == 0) {
        if (!d->exec("PRAGMA journal_mode=WAL")) return Result<AnswerJournal>::failure(path + ": " + d->error);
        const std::string create = std::string("BEGIN;") + kSchema + kFavourites + "PRAGMA user_version=" +
                                   std::to_string(kVersion) + ";COMMIT;";
        if (!d->exec(create.c_str())) {
            d->exec("ROLLBACK");
            return Result<AnswerJournal>::failure(path + ": " + d->error);
        }
    }
    if (version == 1) {
        // A journal of layout 1 gains the favourites table. The change is
        // committed only when the rest is the layout it should be, so a file
        // that is not is left exactly as it was.
        const std::string upgrade = std::string("BEGIN;") + kFavourites + "PRAGMA user_version=" +
                                    std::to_string(kVersion) + ";";
        if (!d->exec(upgrade.c_str())) {
            d->exec("ROLLBACK");
            return Result<AnswerJournal>::failure(path + ": " + d->error);
        }
        if (!d->prepare()) {
            const std::string why = d->error;
            d->exec("ROLLBACK");
            return Result<AnswerJournal>::failure(path + " is not a journal of this layout: " + why);
        }
        if (!d->exec("COMMIT")) return Result<AnswerJournal>::failure(path + ": " + d->error);
    }
    if (version != 1 && !d->prepare())
        return Result<AnswerJournal>::failure(path + " is not a journal of this layout: " + d->error);
    {
        // Where the banks stand decides what a start counts again: a banks
        // table whose rows and index disagree (a damaged file) could name one
        // bank twice, so such a journal is refused. The table is a few rows.
        SqliteStatement check(d->db, "PRAGMA integrity_check(banks)");
        if (!check.step() || check.blob(0) != "ok")
            return Result<AnswerJournal>::failure(path + " is damaged (its banks table does not check)");
    }
    // WAL: a commit is one append to the log, and a reader never blocks the
    // writer. NORMAL: a commit survives the program's crash; only a power
    // cut may lose the newest commits, never the file.
    if (!d->exec("PRAGMA journal_mode=WAL") || !d->exec("PRAGMA synchronous=NORMAL"))
        return Result<AnswerJournal>::failure(path + ": " + d->error);
    return AnswerJournal(std::move(d));
}

std::int64_t AnswerJournal::appendAnswer(const JournalAnswer& a) {
    const std::int64_t bank = d_->bankId(a.bank, true);
    if (bank == 0) return 0;
    d_->insertAnswer.bind(1, bank).bind(2, a.questionId).bind(3, a.right ? 1 : 0).bind(4, a.given).bind(5, a.atMs).bind(6, a.mode);
    if (!d_->insertAnswer.run()) return d_->fail(), 0;
    return sqlite3_last_insert_rowid(d_->db);
}

std::int64_t AnswerJournal::appendHandIn(const std::string& bankTag, std::string_view entry, std::int64_t atMs) {
    const std::int64_t bank = d_->bankId(bankTag, true);
    if (bank == 0) return 0;
    d_->insertHandIn.bind(1, bank).bind(2, atMs).bindBlob(3, entry);
    if (!d_->insertHandIn.run()) return d_->fail(), 0;
    return sqlite3_last_insert_rowid(d_->db);
}

bool AnswerJournal::markHandInsSaved() { return d_->markSaved.run() || d_->fail(); }

std::vector<JournalHandIn> AnswerJournal::pendingHandIns() const {
    std::vector<JournalHandIn> out;
    SqliteStatement& q = d_->pending;
    while (q.step()) out.push_back({q.integer(0), q.blob(1), q.integer(2), q.blob(3), false});
    if (!q.done()) d_->fail();
    q.reset();
    return out;
}

std::vector<JournalAnswer> AnswerJournal::answers(const std::string& bank) const {
    return answersAfter(bank, std::numeric_limits<std::int64_t>::min());
}

std::vector<JournalAnswer> AnswerJournal::answersAfter(const std::string& bank, std::int64_t seq) const {
    std::vector<JournalAnswer> out;
    const std::int64_t id = d_->bankId(bank, false);
    if (id == 0) return out;
    SqliteStatement& q = d_->answersAfter;
    q.bind(1, id).bind(2, seq);
    while (q.step()) {
        JournalAnswer a;
        a.seq = q.integer(0);
        a.bank = bank;
        a.questionId = static_cast<std::int32_t>(q.integer(1));
        a.right = q.integer(2) != 0;
        a.given = static_cast<std::int32_t>(q.integer(3));
        a.atMs = q.integer(4);
        a.mode = static_cast<std::int32_t>(q.integer(5));
        out.push_back(std::move(a));
    }
    if (!q.done()) d_->fail();
    q.reset();
    return out;
}

std::int64_t AnswerJournal::lastSeq(const std::string& bank) const {
    const std::int64_t id = d_->bankId(bank, false);
    if (id == 0) return 0;
    SqliteStatement& q = d_->lastSeq;
    q.bind(1, id);
    const std::int64_t seq = q.step() ? q.integer(0) : 0;
    q.reset();
    return seq;
}

JournalBankStore AnswerJournal::store(const std::string& bank) const {
    JournalBankStore out;
    const std::int64_t id = d_->bankId(bank, false);
    if (id == 0) return out;
    SqliteStatement& q = d_->storeOf;
    q.bind(1, id);
    if (q.step()) {
        out.appliedSeq = q.integer(0);
        out.intended = !q.isNull(1) && !q.isNull(2);
        if (out.intended) {
            out.intendedSeq = q.integer(1);
            out.intendedSum = static_cast<std::uint64_t>(q.integer(2));
        }
    }
    q.reset();
    return out;
}

bool AnswerJournal::intendStore(const std::string& bank, std::int64_t seq, std::uint64_t sum) {
    const std::int64_t id = d_->bankId(bank, true);
    if (id == 0) return false;
    return d_->intend.bind(1, seq).bind(2, static_cast<std::int64_t>(sum)).bind(3, id).run() || d_->fail();
}

bool AnswerJournal::markApplied(const std::string& bank, std::int64_t seq) {
    const std::int64_t id = d_->bankId(bank, true);
    if (id == 0) return false;
    return d_->applied.bind(1, seq).bind(2, id).run() || d_->fail();
}

bool AnswerJournal::dropIntent(const std::string& bank) {
    const std::int64_t id = d_->bankId(bank, false);
    if (id == 0) return true;
    return d_->drop.bind(1, id).run() || d_->fail();
}

bool AnswerJournal::setFavourite(const std::string& bank, std::int32_t questionId, bool starred, std::int64_t atMs) {
    const std::int64_t id = d_->bankId(bank, starred);
    // A bank without a row has nothing starred to take away; one that could
    // not be given a row has left lastError().
    if (id == 0) return !starred;
    if (starred) {
        d_->star.bind(1, id).bind(2, questionId).bind(3, atMs);
        return d_->star.run() || d_->fail();
    }
    d_->unstar.bind(1, id).bind(2, questionId);
    return d_->unstar.run() || d_->fail();
}

std::vector<std::int32_t> AnswerJournal::favourites(const std::string& bank) const {
    std::vector<std::int32_t> out;
    const std::int64_t id = d_->bankId(bank, false);
    if (id == 0) return out;
    SqliteStatement& q = d_->starred;
    q.bind(1, id);
    while (q.step()) out.push_back(static_cast<std::int32_t>(q.integer(0)));
    if (!q.done()) d_->fail();
    q.reset();
    return out;
}

} // namespace cxb
