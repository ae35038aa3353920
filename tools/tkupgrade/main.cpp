// tkupgrade: puts a freshly built bank in place of a learner's copy, keeping
// the counters the learner has earned (the build's runnable folder uses it).
//   tkupgrade [--folder DIR] [--wait SECONDS] NEW.tk BANK.tk
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>

#include "data/BankUpgrade.h"
#include "data/FolderLock.h"

namespace {

const char* kUsage =
    "usage: tkupgrade [--folder DIR] [--wait SECONDS] NEW.tk BANK.tk\n"
    "\n"
    "Brings BANK.tk up to NEW.tk: when their questions differ, BANK.tk becomes\n"
    "NEW.tk with each question's right, wrong and answer counts taken over from\n"
    "the question of the same id in BANK.tk (questions NEW.tk lacks drop out,\n"
    "new ones start at zero), and the previous BANK.tk is kept as BANK.tk.bak.\n"
    "A missing BANK.tk is made from NEW.tk. BANK.tk's modification time is\n"
    "renewed even when nothing changed, so a build sees it up to date.\n"
    "\n"
    "While it works it holds the lock of the trainer's folder, as the trainer\n"
    "does: DIR, by default the folder that holds BANK.tk's bankdata/ folder (or\n"
    "BANK.tk's own folder for a bank elsewhere). While a trainer runs there it\n"
    "waits up to SECONDS (10 by default) and then gives up with status 3.\n";

// The folder whose lock guards `bank`: the trainer's folder holds its banks
// in bankdata/, its extra banks beside it.
std::string folderOf(const std::string& bank) {
    std::filesystem::path folder = std::filesystem::path(bank).parent_path();
    if (folder.empty()) folder = ".";
    if (folder.filename() == "bankdata") folder = folder.parent_path().empty() ? "." : folder.parent_path();
    return folder.string();
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::vector<std::string> files;
    std::string folder;
    int waitSeconds = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--folder" || arg == "--wait") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--folder") {
                folder = value;
            } else {
                char* end = nullptr;
                const long n = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end != '\0' || n < 0 || n > 3600) {
                    std::fputs(kUsage, stderr);
                    return 2;
                }
                waitSeconds = static_cast<int>(n);
            }
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string shipped = files[0], bank = files[1];
    if (folder.empty()) folder = folderOf(bank);
    // A trainer running there would write its own copy over the upgrade at
    // its close; a folder where no lock can be made has no trainer either.
    cxb::FolderLock lock(folder);
    if (lock.lock(waitSeconds * 1000) == cxb::FolderLock::State::Busy) {
        std::fprintf(stderr, "tkupgrade: the trainer is running in %s (it holds %s); close it and try again\n",
                     folder.c_str(), lock.fileName().c_str());
        return 3;
    }
    auto report = cxb::BankUpgrade::apply(shipped, bank);
    using Outcome = cxb::BankUpgrade::Outcome;
    switch (report.outcome) {
    case Outcome::Failed:
        std::fprintf(stderr, "tkupgrade: %s\n", report.error.c_str());
        return 1;
    case Outcome::Unchanged:
        ::utimensat(AT_FDCWD, bank.c_str(), nullptr, 0);
        std::printf("%s: the same questions, counters left as they are\n", bank.c_str());
        break;
    case Outcome::Created:
        std::printf("%s: made from %s (%d questions)\n", bank.c_str(), shipped.c_str(), report.added);
        break;
    case Outcome::Upgraded:
        std::printf("%s: upgraded, counters of %d questions kept, %d new, %d gone; the previous file is %s\n",
                    bank.c_str(), report.carried, report.added, report.dropped, report.backup.c_str());
        break;
    case Outcome::Salvaged:
        std::printf("%s: could not be read as a bank; replaced by %s with the counters of %d questions saved from "
                    "its whole records; the damaged file is %s\n",
                    bank.c_str(), shipped.c_str(), report.carried, report.backup.c_str());
        break;
    }
    return 0;
}
