// The bank upgrade on arbitrary pairs of files. The input is one flag byte
// (bit 0: the learner has no copy), the shipped bank's length as four
// little-endian bytes, the shipped bank, and the learner's copy. Whatever the
// bytes, an upgraded copy holds the shipped questions with the learner's
// counters, and upgrading it again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "data/BankFile.h"
#include "data/BankUpgrade.h"

using cxb::BankUpgrade;
using Outcome = BankUpgrade::Outcome;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 5) return 0;
    const bool noCopy = data[0] & 1;
    std::uint32_t length;
    std::memcpy(&length, data + 1, sizeof length);
    std::string_view rest(reinterpret_cast<const char*>(data) + 5, size - 5);
    length = static_cast<std::uint32_t>(std::min<std::size_t>(length, rest.size()));
    const std::string_view shipped = rest.substr(0, length);
    const std::optional<std::string_view> learner =
        noCopy ? std::nullopt : std::optional<std::string_view>(rest.substr(length));

    std::string result;
    const auto report = BankUpgrade::plan(shipped, learner, result);
    const auto shippedBank = cxb::BankFile::parse(shipped);
    if ((report.outcome == Outcome::Failed) != !shippedBank.ok()) std::abort();
    if (report.outcome == Outcome::Failed) return 0;
    const auto learnerBank = learner ? cxb::BankFile::parse(*learner) : cxb::Result<cxb::Bank>::failure("none");

    switch (report.outcome) {
    case Outcome::Created:
        if (result != shipped || learner) std::abort();
        break;
    case Outcome::Salvaged: {
        // The shipped questions, no counter below zero, and never more
        // questions saved than the damaged copy has whole records.
        const auto salvaged = cxb::BankFile::parse(result);
        if (!salvaged.ok() || learnerBank.ok() || !BankUpgrade::sameQuestions(salvaged.value(), shippedBank.value()))
            std::abort();
        const std::size_t whole = learner->size() < sizeof(cxb::BankHeader) + sizeof(cxb::QuestionRecord)
                                      ? 0
                                      : (learner->size() - sizeof(cxb::BankHeader)) / sizeof(cxb::QuestionRecord) - 1;
        if (report.carried < 0 || static_cast<std::size_t>(report.carried) > whole ||
            report.carried > shippedBank->questionCount())
            std::abort();
        int withCounters = 0;
        for (int i = 1; i <= salvaged->questionCount(); ++i) {
            const auto& r = salvaged->records[static_cast<std::size_t>(i)];
            if (r.rightCount < 0 || r.wrongCount < 0 || r.answerCount < 0) std::abort();
            withCounters += (r.rightCount | r.wrongCount | r.answerCount) != 0;
        }
        if (withCounters > report.carried) std::abort();
        break;
    }
    case Outcome::Unchanged:
        if (!learnerBank.ok() || !BankUpgrade::sameQuestions(shippedBank.value(), learnerBank.value())) std::abort();
        break;
    case Outcome::Upgraded: {
        const auto upgraded = cxb::BankFile::parse(result);
        if (!upgraded.ok() || !learnerBank.ok() || !BankUpgrade::sameQuestions(upgraded.value(), shippedBank.value())) std::abort();
        std::unordered_map<std::int32_t, const cxb::QuestionRecord*> earned;
        for (int i = 1; i <= learnerBank->questionCount(); ++i)
            earned.emplace(learnerBank->records[static_cast<std::size_t>(i)].id,
                           &learnerBank->records[static_cast<std::size_t>(i)]);
        for (int i = 1; i <= upgraded->questionCount(); ++i) {
            const auto& r = upgraded->records[static_cast<std::size_t>(i)];
            auto it = earned.find(r.id);
            const std::int32_t want[3] = {it == earned.end() ? 0 : it->second->rightCount,
                                          it == earned.end() ? 0 : it->second->wrongCount,
                                          it == earned.end() ? 0 : it->second->answerCount};
            if (r.rightCount != want[0] || r.wrongCount != want[1] || r.answerCount != want[2]) std::abort();
        }
        std::string again;
        if (BankUpgrade::plan(shipped, std::string_view(result), again).outcome != Outcome::Unchanged) std::abort();
        break;
    }
    case Outcome::Failed:
        break;
    }
    return 0;
}
