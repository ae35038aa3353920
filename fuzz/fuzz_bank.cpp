// The bank reader on arbitrary bytes: a bank is either refused or read
// whole, and what is read writes back to the same bytes. The progress counts
// of what was read add up whatever its counters hold.
#include <cstdlib>
#include <cstring>

#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "engine/ProgressStats.h"

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
    const cxb::BankProgress p = cxb::ProgressStats::bankProgress(*bank);
    int typed = 0;
    for (const cxb::ProgressGroup* g : {&p.total, &p.byType[0], &p.byType[1], &p.byType[2]}) {
        if (g->neverAnswered + g->neverWrong + g->everWrong != g->questions) std::abort();
        if (g->rightAnswers < 0 || g->rightAnswers > g->answers || !(g->accuracy >= 0 && g->accuracy <= 100)) std::abort();
        if (g != &p.total) typed += g->questions;
    }
    if (p.total.questions != bank->questionCount() || typed > p.total.questions) std::abort();
    return 0;
}
