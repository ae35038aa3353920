// tkupgrade: puts a freshly built bank in place of a learner's copy, keeping
// the counters the learner has earned (the build's runnable folder uses it).
//   tkupgrade NEW.tk BANK.tk
#include <cstdio>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>

#include "data/BankUpgrade.h"

namespace {

const char* kUsage =
    "usage: tkupgrade NEW.tk BANK.tk\n"
    "\n"
    "Brings BANK.tk up to NEW.tk: when their questions differ, BANK.tk becomes\n"
    "NEW.tk with each question's right, wrong and answer counts taken over from\n"
    "the question of the same id in BANK.tk (questions NEW.tk lacks drop out,\n"
    "new ones start at zero), and the previous BANK.tk is kept as BANK.tk.bak.\n"
    "A missing BANK.tk is made from NEW.tk. BANK.tk's modification time is\n"
    "renewed even when nothing changed, so a build sees it up to date.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string shipped = argv[1], bank = argv[2];
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
