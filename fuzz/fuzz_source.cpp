// The bank source parser on arbitrary text: a source is either refused with
// a message or builds a bank whose dump builds the same bytes again, the
// bytes after the last record included.
#include <cstdlib>

#include "BankSource.h"
#include "data/BankFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Includes would read files; the fuzzer sees sources on their own.
    if (text.find("include") != std::string_view::npos) return 0;
    std::string after;
    auto bank = cxb::BankSource::build(text, "fuzz.json", "/nonexistent", &after);
    if (!bank) {
        if (bank.error().empty()) std::abort();
        return 0;
    }
    std::string image = cxb::BankFile::serialize(*bank) + after;
    std::string afterAgain;
    auto again = cxb::BankSource::build(cxb::BankSource::dump(*bank, after), "dump.json", "/nonexistent", &afterAgain);
    if (!again || cxb::BankFile::serialize(*again) + afterAgain != image) std::abort();
    return 0;
}
