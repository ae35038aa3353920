#include "data/BankUpgrade.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "data/AtomicFile.h"
#include "data/BackupFiles.h"
#include "data/BankSalvage.h"
#include "data/BankFile.h"
#include "data/FileBytes.h"

namespace cxb {

namespace {

// A bank as it lies in its file's bytes, checked for size: the comparison
// of a learner's copy with a shipped bank reads the records where they are.
struct BankBytes {
    const char* header = nullptr;
    const char* records = nullptr; // record 0, then the questions
    int count = 0;

    const char* question(int i) const { return records + sizeof(QuestionRecord) * static_cast<std::size_t>(i); }
};

std::optional<BankBytes> bytesOf(std::string_view file) {
    if (file.size() < sizeof(BankHeader)) return std::nullopt;
    std::int32_t count;
    std::memcpy(&count, file.data(), sizeof count);
    if (count < 0 || count > Bank::kMaxQuestions || file.size() < BankFile::fileSize(count)) return std::nullopt;
    return BankBytes{file.data(), file.data() + sizeof(BankHeader), count};
}

BankBytes bytesOf(const Bank& bank) {
    return BankBytes{reinterpret_cast<const char*>(&bank.header), reinterpret_cast<const char*>(bank.records.data()),
                     bank.questionCount()};
}

// A question's bytes up to its counters, which are the last fields.
constexpr std::size_t kContentBytes = offsetof(QuestionRecord, rightCount);

std::int32_t idOf(const char* record) {
    std::int32_t id;
    std::memcpy(&id, record + offsetof(QuestionRecord, id), sizeof id);
    return id;
}

int compareContent(const char* a, const char* b) {
    std::int32_t idA = idOf(a), idB = idOf(b);
    if (idA != idB) return idA < idB ? -1 : 1;
    return std::memcmp(a, b, kContentBytes);
}

// The questions ordered by id, then by their content.
std::vector<const char*> byContent(const BankBytes& bank) {
    std::vector<const char*> out;
    out.reserve(static_cast<std::size_t>(bank.count));
    for (int i = 1; i <= bank.count; ++i) out.push_back(bank.question(i));
    std::sort(out.begin(), out.end(), [](const char* a, const char* b) { return compareContent(a, b) < 0; });
    return out;
}

bool sameQuestions(const BankBytes& a, const BankBytes& b) {
    if (a.count != b.count) return false;
    // The header's first field is the count, which the banks share.
    if (std::memcmp(a.header + sizeof(std::int32_t), b.header + sizeof(std::int32_t),
                    sizeof(BankHeader) - sizeof(std::int32_t)) != 0)
        return false;
    if (std::memcmp(a.records, b.records, sizeof(QuestionRecord)) != 0) return false;
    auto left = byContent(a);
    auto right = byContent(b);
    for (std::size_t i = 0; i < left.size(); ++i)
        if (compareContent(left[i], right[i]) != 0) return false;
    return true;
}

void setCounters(QuestionRecord& r, std::int32_t right, std::int32_t wrong, std::int32_t answered) {
    r.rightCount = right;
    r.wrongCount = wrong;
    r.answerCount = answered;
}

BankUpgrade::Report failed(std::string why) {
    BankUpgrade::Report report;
    report.error = std::move(why);
    return report;
}

} // namespace

bool BankUpgrade::sameQuestions(const Bank& a, const Bank& b) { return cxb::sameQuestions(bytesOf(a), bytesOf(b)); }

Bank BankUpgrade::carryCounters(const Bank& shipped, const Bank& learner) {
    std::unordered_map<std::int32_t, const QuestionRecord*> earned;
    for (int i = 1; i <= learner.questionCount(); ++i) {
        const QuestionRecord& r = learner.records[static_cast<std::size_t>(i)];
        earned.emplace(r.id, &r); // keeps the first of a repeated id
    }
    Bank merged = shipped;
    for (int i = 1; i <= merged.questionCount(); ++i) {
        QuestionRecord& r = merged.records[static_cast<std::size_t>(i)];
        auto it = earned.find(r.id);
        if (it == earned.end())
            setCounters(r, 0, 0, 0);
        else
            setCounters(r, it->second->rightCount, it->second->wrongCount, it->second->answerCount);
    }
    return merged;
}

BankUpgrade::Report BankUpgrade::plan(std::string_view shippedBytes, std::optional<std::string_view> learnerBytes,
                                      std::string& result) {
    auto shippedView = bytesOf(shippedBytes);
    if (!shippedView) return failed(BankFile::parse(shippedBytes).error());

    Report report;
    if (!learnerBytes) {
        report.outcome = Outcome::Created;
        report.added = shippedView->count;
        result.assign(shippedBytes);
        return report;
    }
    auto learnerView = bytesOf(*learnerBytes);
    if (learnerView && cxb::sameQuestions(*shippedView, *learnerView)) {
        report.outcome = Outcome::Unchanged;
        report.carried = learnerView->count;
        return report;
    }
    auto learner = BankFile::parse(*learnerBytes);
    auto shipped = BankFile::parse(shippedBytes);
    if (!learner) {
        BankSalvage::Outcome saved = BankSalvage::fromDamaged(*learnerBytes, *shipped);
        report.outcome = Outcome::Salvaged;
        report.carried = saved.kept;
        report.added = shippedView->count - saved.kept;
        report.damage = bankBytesProblem(*learnerBytes, learnerBytes->size());
        result = BankFile::serialize(saved.bank);
        return report;
    }
    result = BankFile::serialize(carryCounters(*shipped, *learner));
    report.outcome = Outcome::Upgraded;
    std::unordered_set<std::int32_t> inShipped, inLearner;
    for (int i = 1; i <= shipped->questionCount(); ++i) inShipped.insert(shipped->records[static_cast<std::size_t>(i)].id);
    for (int i = 1; i <= learner->questionCount(); ++i) inLearner.insert(learner->records[static_cast<std::size_t>(i)].id);
    for (std::int32_t id : inLearner)
        if (!inShipped.count(id)) ++report.dropped;
    for (std::int32_t id : inShipped) ++(inLearner.count(id) ? report.carried : report.added);
    return report;
}

BankUpgrade::Report BankUpgrade::apply(const std::string& shippedPath, const std::string& learnerPath) {
    auto shippedBytes = readFileBytes(shippedPath);
    if (!shippedBytes) return failed("cannot read " + shippedPath);
    std::optional<std::string> learnerBytes;
    if (pathExists(learnerPath)) {
        learnerBytes = readFileBytes(learnerPath);
        if (!learnerBytes) return failed("cannot read " + learnerPath);
    }
    std::string result;
    Report report = plan(*shippedBytes, learnerBytes ? std::optional<std::string_view>(*learnerBytes) : std::nullopt, result);
    if (report.outcome == Outcome::Failed) return failed(shippedPath + ": " + report.error);
    if (report.outcome == Outcome::Unchanged) return report;
    // The previous file is safe in a backup of its own before its place is taken.
    if (learnerBytes)
        if (auto why = BackupFiles::keep(learnerPath, BackupFiles::kBankMark, *learnerBytes, report.backup);
            !why.empty())
            return failed(why);
    if (auto why = AtomicFile::write(learnerPath, result); !why.empty()) return failed(why);
    return report;
}

} // namespace cxb
