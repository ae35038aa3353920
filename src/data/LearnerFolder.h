#pragma once
#include <string>
#include <utility>
#include <vector>

#include "data/BankUpgrade.h"

namespace cxb {

// The folder an installed program works in, the learner's own: made from a
// template of the runnable folder (banks, pictures, skin, the starter state
// file) at the first start, and brought up to date at every later one. The
// shipped banks (".tk" files of the template) are upgraded, keeping the
// learner's counters; every other file the template brings (pictures,
// judgement marks, skin) is replaced by a changed template copy as long as
// the learner's copy still holds what was installed (InstallManifest). A file
// the learner changed, and the state file, are never overwritten.
class LearnerFolder {
public:
    struct Report {
        bool usable = false;              // the folder is there and the program can work in it
        std::string error;                // why not
        bool created = false;             // made from the template during this call
        std::vector<std::string> copied;  // files added from the template, relative to the folder
        std::vector<std::string> refreshed; // template files the learner never changed, brought up to the template's copy
        std::vector<std::pair<std::string, BankUpgrade::Report>> banks; // each shipped bank looked at
        std::vector<std::string> problems; // what could not be done; the folder is usable nonetheless
    };

    static Report prepare(const std::string& templateDir, const std::string& folder);
};

} // namespace cxb
