#include "data/BankFile.h"

#include <cstring>

#include "data/AtomicFile.h"
#include "data/FileBytes.h"

namespace cxb {

std::size_t BankFile::fileSize(int questionCount) {
    return sizeof(BankHeader) + sizeof(QuestionRecord) * (static_cast<std::size_t>(questionCount) + 1);
}

Result<Bank> BankFile::parse(std::string_view bytes) {
    if (bytes.size() < sizeof(BankHeader))
        return Result<Bank>::failure("the file is shorter than a bank header (" + std::to_string(bytes.size()) +
                                     " bytes)");
    std::int32_t count;
    std::memcpy(&count, bytes.data(), sizeof count);
    if (count < 0 || count > Bank::kMaxQuestions)
        return Result<Bank>::failure("question count " + std::to_string(count) + " is outside 0..1999");
    std::size_t need = fileSize(count);
    if (bytes.size() < need)
        return Result<Bank>::failure("the file holds " + std::to_string(bytes.size()) + " bytes, but " +
                                     std::to_string(count) + " questions need " + std::to_string(need));
    Bank bank;
    std::memcpy(&bank.header, bytes.data(), sizeof(BankHeader));
    std::memcpy(bank.records.data(), bytes.data() + sizeof(BankHeader), need - sizeof(BankHeader));
    return bank;
}

std::string BankFile::serialize(const Bank& bank) {
    std::size_t size = fileSize(bank.questionCount());
    std::string bytes(size, '\0');
    BankHeader header = bank.header;
    header.questionCount = bank.questionCount();
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, bank.records.data(), size - sizeof header);
    return bytes;
}

Result<Bank> BankFile::open(const std::string& nativePath) {
    auto bytes = readFileBytes(nativePath);
    if (!bytes) return Result<Bank>::failure("cannot read " + nativePath);
    auto bank = parse(*bytes);
    if (!bank) return Result<Bank>::failure(nativePath + ": " + bank.error());
    return bank;
}

std::string BankFile::store(const Bank& bank, const std::string& nativePath, FileProblem* problem) {
    AtomicFile::Outcome saved = AtomicFile::save(nativePath, serialize(bank));
    if (problem) *problem = saved.problem;
    return saved.why;
}

} // namespace cxb
