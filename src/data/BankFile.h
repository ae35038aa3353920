#pragma once
#include <string>
#include <string_view>

#include "data/Bank.h"
#include "data/FileProblem.h"
#include "data/Result.h"

namespace cxb {

// The ".tk" bank file: a 232-byte header and questionCount + 1 records.
class BankFile {
public:
    // Size of a file holding `questionCount` questions.
    static std::size_t fileSize(int questionCount);

    // Reads a bank from its bytes. A count below 0 or above 1,999, or a file
    // too short for its count, is refused. Bytes past the last record are
    // ignored.
    static Result<Bank> parse(std::string_view bytes);

    // The file image: header and records 0..questionCount.
    static std::string serialize(const Bank& bank);

    static Result<Bank> open(const std::string& nativePath);
    // Writes atomically; returns an empty string on success, else the reason.
    static std::string store(const Bank& bank, const std::string& nativePath, FileProblem* problem = nullptr);
};

} // namespace cxb
