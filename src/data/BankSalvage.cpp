#include "data/BankSalvage.h"

#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "data/BankFile.h"

namespace cxb {

BankSalvage::Outcome BankSalvage::fromDamaged(std::string_view damaged, const Bank& shipped) {
    Outcome out{shipped, 0};
    std::unordered_map<std::int32_t, QuestionRecord*> byId;
    for (int i = 1; i <= out.bank.questionCount(); ++i) {
        QuestionRecord& r = out.bank.records[static_cast<std::size_t>(i)];
        r.rightCount = r.wrongCount = r.answerCount = 0;
        byId.emplace(r.id, &r);
    }
    // Whatever the header says, the records lie where a bank puts them; a
    // count that is itself damaged does not hide the records after it.
    std::int32_t count = -1;
    if (damaged.size() >= sizeof count) std::memcpy(&count, damaged.data(), sizeof count);
    int last = Bank::kMaxQuestions;
    if (count >= 0 && count <= Bank::kMaxQuestions) last = count;
    std::unordered_set<std::int32_t> taken;
    for (int i = 1; i <= last; ++i) {
        const std::size_t end = BankFile::fileSize(i);
        if (end > damaged.size()) break;
        QuestionRecord r;
        std::memcpy(&r, damaged.data() + end - sizeof r, sizeof r);
        auto it = byId.find(r.id);
        if (it == byId.end() || taken.count(r.id)) continue;
        QuestionRecord& mine = *it->second;
        if (r.type != mine.type || r.rightCount < 0 || r.wrongCount < 0 || r.answerCount < 0) continue;
        taken.insert(r.id);
        mine.rightCount = r.rightCount;
        mine.wrongCount = r.wrongCount;
        mine.answerCount = r.answerCount;
        ++out.kept;
    }
    return out;
}

} // namespace cxb
