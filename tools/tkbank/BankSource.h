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
    // `sourceName` names the file in messages. A source is refused, with a
    // message naming the file and the question, when it would lose anything
    // its author wrote: an unknown key, a key given twice, two questions with
    // one id. The bytes the source keeps for after the last record go to
    // `afterRecords`; without a place for them such a source is refused.
    // A question's chapter and topic go into its record's reserved bytes
    // (data/QuestionFiling.h); a `shipped` source is refused when a question
    // has none.
    static Result<Bank> build(std::string_view json, const std::string& sourceName, const std::string& baseDir,
                              std::string* afterRecords = nullptr, bool shipped = false);
    // Reads and builds a source file.
    static Result<Bank> buildFile(const std::string& path, std::string* afterRecords = nullptr, bool shipped = false);
    // The source text of a bank file: its bank and the bytes the file holds
    // after its last record. Building it gives back the same bytes.
    static std::string dump(const Bank& bank, std::string_view afterRecords = {});
};

} // namespace cxb
