// The bank source parser on arbitrary text: a source is either refused with
// a message or builds a bank whose dump builds the same bytes again.
#include <cstdlib>

#include "BankSource.h"
#include "data/BankFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Includes would read files; the fuzzer sees sources on their own.
    if (text.find("include") != std::string_view::npos) return 0;
    auto bank = cxb::BankSource::build(text, "fuzz.json", "/nonexistent");
    if (!bank) {
        if (bank.error().empty()) std::abort();
        return 0;
    }
    std::string image = cxb::BankFile::serialize(*bank);
    auto again = cxb::BankSource::build(cxb::BankSource::dump(*bank), "dump.json", "/nonexistent");
    if (!again || cxb::BankFile::serialize(*again) != image) std::abort();
    return 0;
}
