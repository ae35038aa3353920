#pragma once
#include <string_view>

#include "data/Bank.h"

namespace cxb {

// What can be saved of a learner's bank file that can no longer be read as a
// bank (cut short, partly overwritten, a count that is wrong): every whole
// record at its place in the file that is still one of the shipped bank's
// questions gives that question its counters back.
class BankSalvage {
public:
    struct Outcome {
        Bank bank; // the shipped bank, with the counters that were saved
        int kept = 0; // shipped questions whose counters came from the damaged file
    };

    // A record counts when it lies whole in `damaged`, its id is a question
    // of `shipped` of the same type, and its three counters are not
    // negative. Of a repeated id the first record counts. Every other
    // question of `shipped` starts at zero.
    static Outcome fromDamaged(std::string_view damaged, const Bank& shipped);
};

} // namespace cxb
