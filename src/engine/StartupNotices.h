#pragma once
#include <string>
#include <vector>

#include "data/LearnerFolder.h"

namespace cxb {

// What the learner is told about the preparation of their folder before the
// window opens: each bank that could not be read and was salvaged, with the
// file, what was kept and where the damaged file went.
class StartupNotices {
public:
    static std::vector<std::string> of(const LearnerFolder::Report& report, const std::string& folder);
};

} // namespace cxb
