#pragma once
#include <cstdint>

#include "data/Sfile.h"

namespace cxb {

// What the engine tells the answer journal as it happens. Each call is
// committed before it returns, so nothing told here is lost when the
// program ends without its close.
class JournalPort {
public:
    virtual ~JournalPort() = default;
    // An answer added to the loaded bank's counters.
    virtual void answerCounted(std::int32_t questionId, bool right, std::int32_t given, std::int32_t mode) = 0;
    // An exam put into the history, before the state file is written.
    virtual void handedIn(const HistoryEntry& entry) = 0;
    // The state file was written: every exam handed in so far is in it.
    virtual void stateSaved() = 0;
};

} // namespace cxb
