// The bank reader on arbitrary bytes: a bank is either refused or read
// whole, and what is read writes back to the same bytes.
#include <cstdlib>
#include <cstring>

#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/Gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto bank = cxb::BankFile::parse(bytes);
    if (!bank) return 0;
    std::string image = cxb::BankFile::serialize(*bank);
    if (image.size() > size || std::memcmp(image.data(), data, image.size()) != 0) std::abort();
    for (int i = 1; i <= bank->questionCount(); ++i) {
        const auto& r = bank->records[static_cast<std::size_t>(i)];
        (void)cxb::gbk::toUtf8Lossy(cxb::readField(r.text));
        (void)cxb::gbk::toUtf8Lossy(cxb::readField(r.explanation));
        (void)cxb::gbk::toUtf8Lossy(cxb::readField(r.picture));
    }
    return 0;
}
