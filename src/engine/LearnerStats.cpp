#include "engine/LearnerStats.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "data/BankFile.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "data/StoredPath.h"
#include "engine/ExamSession.h"
#include "engine/JournalKeeper.h"
#include "engine/ReviewSettingsField.h"

namespace cxb {

namespace {

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// A day as yyyy-mm-dd in the learner's calendar.
std::string dateOf(std::int64_t atMs, const LearnerDays& days) {
    std::time_t t = static_cast<std::time_t>((atMs + days.utcOffsetMs) / 1000);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

std::string number(double v, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

} // namespace

Result<LearnerStats> LearnerStats::read(const std::string& folder, std::int64_t nowMs) {
    const std::string statePath = inProgramFolder(folder, StateFile::kStoredPath);
    auto stateBytes = readFileBytes(statePath);
    if (!stateBytes) return Result<LearnerStats>::failure("cannot read " + statePath);
    auto state = StateFile::newRecord();
    StateFile::parse(*stateBytes, *state);
    const ReviewSettings settings = ReviewSettingsField::read(*state);

    LearnerStats out;
    out.nowMs = nowMs;
    const std::string stored(readField(state->bankPath));
    out.bankPath = inProgramFolder(folder, stored);
    auto bank = BankFile::open(out.bankPath);
    if (!bank) return Result<LearnerStats>::failure("cannot read the bank " + out.bankPath + ": " + bank.error());
    const std::string tag = ExamSession::storedBankTag(ExamSession::bankTag(*state));
    out.bankTag = gbk::toUtf8Lossy(tag);

    std::vector<JournalAnswer> answers;
    const std::string journalPath = inProgramFolder(folder, JournalKeeper::kStoredPath);
    if (fileExists(journalPath)) {
        auto journal = AnswerJournal::open(journalPath);
        if (!journal) return Result<LearnerStats>::failure("cannot read the journal " + journalPath + ": " + journal.error());
        answers = journal->answers(tag);
        out.hasJournal = true;
    }
    out.journalAnswers = static_cast<int>(answers.size());

    const MemoryBook book(answers, LearnerDays::local(nowMs));
    std::vector<std::int32_t> ids;
    const Bank& b = bank.value();
    for (int k = 1; k <= b.questionCount(); ++k) ids.push_back(b.records[static_cast<std::size_t>(k)].id);
    for (std::int32_t id : ids) {
        QuestionMemory q;
        q.id = id;
        if (const MemoryState* s = book.find(id)) {
            q.answered = true;
            q.stability = s->stability;
            q.difficulty = s->difficulty;
            q.recall = book.retrievability(id, nowMs);
            q.dueMs = book.dueMs(*s, settings.retention);
        }
        out.questions.push_back(q);
    }
    out.due = SmartReview::dueCounts(book, nowMs, settings.retention);
    out.pass = PassChance::estimate(book, ids, state->examCount, nowMs);
    return out;
}

std::string LearnerStats::json() const {
    const LearnerDays days = LearnerDays::local(nowMs);
    std::string j = "{\n";
    j += "  \"bank\": " + jsonString(bankTag) + ",\n";
    j += "  \"now\": " + jsonString(dateOf(nowMs, days)) + ",\n";
    j += "  \"journal_answers\": " + std::to_string(journalAnswers) + ",\n";
    j += "  \"due\": {\"today\": " + std::to_string(due[0]) + ", \"next_days\": [";
    for (std::size_t d = 1; d < due.size(); ++d) j += (d > 1 ? ", " : "") + std::to_string(due[d]);
    j += "]},\n";
    j += "  \"pass\": {\"probability\": " + number(pass.probability, 4) + ", \"exam_size\": " + std::to_string(pass.examSize) +
         ", \"pass_score\": " + std::to_string(pass.passScore) + ", \"expected_score\": " + number(pass.expectedScore, 2) +
         ", \"answered\": " + std::to_string(pass.answered) + ", \"questions\": " + std::to_string(pass.questions) +
         ", \"prior\": " + number(pass.prior, 4) + ", \"reason\": " + jsonString(pass.reason) + "},\n";
    j += "  \"questions\": [";
    bool first = true;
    for (const QuestionMemory& q : questions) {
        j += first ? "\n    " : ",\n    ";
        first = false;
        j += "{\"id\": " + std::to_string(q.id);
        if (q.answered) {
            j += ", \"stability\": " + number(q.stability, 4) + ", \"difficulty\": " + number(q.difficulty, 4) +
                 ", \"retrievability\": " + number(q.recall, 4) + ", \"due\": " + jsonString(dateOf(q.dueMs, days));
        } else {
            j += ", \"stability\": null, \"difficulty\": null, \"retrievability\": null, \"due\": null";
        }
        j += "}";
    }
    j += "\n  ]\n}\n";
    return j;
}

} // namespace cxb
