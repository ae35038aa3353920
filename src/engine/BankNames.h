#pragma once
#include <string>

namespace cxb {

// What a learner calls a bank, for the tag a history entry stores.
class BankNames {
public:
    // "小车", "客车", "货车" for the built-in banks' tags; for an extra bank
    // the file name of its path. `storedGbk` is the entry's tag as stored
    // (GBK, at most 31 bytes, a long path kept by its end); `loadedTagGbk`
    // is the tag of the bank now loaded, whose full name is shown when the
    // entry belongs to it. A name that may have lost its start to the
    // field's size begins with "…". UTF-8.
    static std::string historyName(const std::string& storedGbk, const std::string& loadedTagGbk);
};

} // namespace cxb
