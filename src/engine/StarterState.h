#pragma once
#include <memory>

#include "data/Sfile.h"

namespace cxb {

// The state file the runnable folder ships with, so that a learner who opens
// it lands in practice: the car bank chosen, a 100-question exam of 45
// minutes as in the real test, the suggested question colours, everything
// else as a new state file has it.
class StarterState {
public:
    static constexpr const char* kBankPath = "bankdata\\\xD0\xA1\xB3\xB5.tk"; // bankdata\小车.tk in GBK
    static constexpr int kExamCount = 100;
    static constexpr int kExamSeconds = 2700;

    static std::unique_ptr<Sfile> make();
};

} // namespace cxb
