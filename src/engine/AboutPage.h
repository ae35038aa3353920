#pragma once
#include <string>

#include "engine/Session.h"

namespace cxb {

// The information page behind the "关于" button, as HTML (UTF-8): what the
// trainer does, where the learner's data lives, which law the banks follow
// and who wrote them, and the keys.
class AboutPage {
public:
    // `memory` is the 智能复习 section (LearnerMemory::infoHtml), put after
    // the bank in use.
    static std::string html(const Session& s, const std::string& memory = {});

    // The program's folder, where every file of the learner lives, as an
    // absolute path ("" = the working directory).
    static std::string dataFolder(const std::string& folder);
};

} // namespace cxb
