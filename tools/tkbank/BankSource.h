#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "data/Bank.h"
#include "data/Result.h"

namespace cxb {

// The hand-editable JSON source of a bank (see docs/BANK_SOURCE.md).
class BankSource {
public:
    // Builds a bank from source text. `baseDir` resolves "include" entries;
    // `sourceName` names the file in messages.
    static Result<Bank> build(std::string_view json, const std::string& sourceName, const std::string& baseDir);
    // Reads and builds a source file.
    static Result<Bank> buildFile(const std::string& path);
    // The source text of a bank; building it gives back the same bytes.
    static std::string dump(const Bank& bank);
};

} // namespace cxb
