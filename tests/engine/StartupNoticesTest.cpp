// What the learner is told before the window opens about banks of their
// folder that could not be read: only salvaged banks, each with the file,
// what was kept and where the damaged file went.
#include <gtest/gtest.h>

#include "engine/StartupNotices.h"

using namespace cxb;
using Outcome = BankUpgrade::Outcome;

TEST(StartupNotices, OneMessagePerSalvagedBankNamingFileKeptAndBackup) {
    LearnerFolder::Report report;
    auto bank = [](Outcome outcome, int carried, FileProblem damage, std::string backup) {
        BankUpgrade::Report r;
        r.outcome = outcome;
        r.carried = carried;
        r.damage = damage;
        r.backup = std::move(backup);
        return r;
    };
    report.banks = {
        {"bankdata/小车.tk", bank(Outcome::Salvaged, 744, FileProblem::TooShort, "/home/l/cxb/bankdata/小车.tk.bak.2")},
        {"bankdata/客车.tk", bank(Outcome::Upgraded, 700, FileProblem::None, "/home/l/cxb/bankdata/客车.tk.bak")},
        {"bankdata/货车.tk", bank(Outcome::Unchanged, 793, FileProblem::None, "")},
        {"bankdata/extra.tk", bank(Outcome::Salvaged, 0, FileProblem::NotABank, "/home/l/cxb/bankdata/extra.tk.bak")},
    };
    const auto notices = StartupNotices::of(report, "/home/l/cxb");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_NE(notices[0].find("/home/l/cxb/bankdata/小车.tk 已损坏"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("保留了 744 道题"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("另存为 /home/l/cxb/bankdata/小车.tk.bak.2。"), std::string::npos) << notices[0];
    EXPECT_NE(notices[1].find("保留了 0 道题"), std::string::npos) << notices[1];
    EXPECT_TRUE(StartupNotices::of(LearnerFolder::Report{}, "/x").empty());
}
