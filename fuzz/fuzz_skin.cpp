// The skin-file parser on arbitrary bytes: at most 99 pairs, pair 0 keeps
// its empty key, and every key found can be looked up.
#include <cstdlib>

#include "data/SkinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    cxb::Strfile table;
    cxb::SkinFile::parse(std::string_view(reinterpret_cast<const char*>(data), size), table);
    if (table.pairCount < 0 || table.pairCount > 99) std::abort();
    if (!table.pairs[0].key.empty()) std::abort();
    for (int p = 1; p <= table.pairCount; ++p) {
        if (table.pairs[p].key.size() > cxb::SkinFile::kMaxLine) std::abort();
        (void)cxb::lookupSkin(table, table.pairs[p].key);
    }
    return 0;
}
