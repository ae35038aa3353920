#pragma once
#include <string>
#include <vector>

#include "data/Bank.h"

namespace cxb {

// Where the pictures a bank names are looked up, by the program's own rule:
// a plain name under "bankdata\" of the program's folder; for an extra bank,
// a name with a folder in it under the program's folder itself. The bank's
// own picture (bankPicture) is a path from the program's folder.
struct PictureLookup {
    std::string programFolder; // empty: pictures are not looked up
    bool extraBank = false;
};

// Finds what is wrong with a bank: duplicate ids, answers that do not fit
// the type, unknown types, texts without a terminator, negative counters,
// and (when a program folder is given) pictures that are missing. Each
// finding names the question, or the header.
std::vector<std::string> checkBank(const Bank& bank, const PictureLookup& pictures);

} // namespace cxb
