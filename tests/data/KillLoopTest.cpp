// Saves killed at random moments: cxb_savehammer saves the state file and a
// bank over and over, and is killed with SIGKILL again and again. After every
// kill each file must be one of the two complete images, never cut short or
// mixed, and at most the one temporary file being written at the kill may
// be left; the next save removes it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "data/BankFile.h"
#include "data/StateFile.h"
#include "support/FaultInjection.h"
#include "support/TempDir.h"
#include "tools/HammerImages.h"

extern char** environ;

using namespace cxb;
using cxb::test::TempDir;
using namespace std::chrono_literals;

namespace {

pid_t startHammer(const std::string& folder, int first, const char* rounds = nullptr) {
    std::string firstArg = std::to_string(first);
    std::vector<char*> argv = {const_cast<char*>(SAVEHAMMER_PATH), const_cast<char*>(folder.c_str()),
                               firstArg.data()};
    if (rounds) argv.push_back(const_cast<char*>(rounds));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, SAVEHAMMER_PATH, nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

// Which of the two images `bytes` is: 0, 1, or -1 for neither.
int whichImage(const std::string& bytes, const std::string images[2]) {
    for (int i = 0; i < 2; ++i)
        if (bytes == images[i]) return i;
    return -1;
}

} // namespace

TEST(KillLoop, SavesKilledAtRandomMomentsLeaveWholeFiles) {
    TempDir dir;
    const std::string stateImages[2] = {
        std::string(reinterpret_cast<const char*>(hammer::stateImage(0).get()), sizeof(Sfile)),
        std::string(reinterpret_cast<const char*>(hammer::stateImage(1).get()), sizeof(Sfile))};
    const std::string bankImages[2] = {BankFile::serialize(hammer::bankImage(0)),
                                       BankFile::serialize(hammer::bankImage(1))};
    ASSERT_EQ(stateImages[0].size(), 2472784u);
    ASSERT_NE(stateImages[0], stateImages[1]);
    ASSERT_EQ(bankImages[0].size(), bankImages[1].size());
    ASSERT_NE(bankImages[0], bankImages[1]);
    const std::string statePath = dir.file(hammer::kStateName);
    const std::string bankPath = dir.file(hammer::kBankName);
    dir.write(hammer::kStateName, stateImages[0]);
    dir.write(hammer::kBankName, bankImages[0]);

    const unsigned seed = std::random_device{}();
    std::cout << "kill-loop seed " << seed << "\n";
    std::mt19937 rng(seed);
    // Most kills land within the first save (its write, flush or rename);
    // the rest later, among the following saves of both files.
    std::uniform_int_distribution<int> early(0, 20000), late(20000, 150000), pick(0, 3);

    // At least 100 kills however slow the build (sanitizers start each
    // process slowly); up to 150 while there is time.
    const auto soft = std::chrono::steady_clock::now() + 17s;
    const auto hard = std::chrono::steady_clock::now() + 150s;
    int kills = 0, leftovers = 0;
    bool stateSeen[2] = {false, false}, bankSeen[2] = {false, false};
    for (auto now = std::chrono::steady_clock::now(); now < hard && (kills < 100 || (kills < 150 && now < soft));
         now = std::chrono::steady_clock::now()) {
        SCOPED_TRACE("kill " + std::to_string(kills + 1) + ", seed " + std::to_string(seed));
        pid_t pid = startHammer(dir.path(), kills % 2);
        ASSERT_GT(pid, 0) << "cannot start " << SAVEHAMMER_PATH;
        std::this_thread::sleep_for(std::chrono::microseconds(pick(rng) == 0 ? late(rng) : early(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the hammer stopped by itself with " << WEXITSTATUS(status);
        ++kills;

        const std::string state = test::readFile(statePath);
        ASSERT_EQ(state.size(), 2472784u) << "the state file was cut short";
        const int s = whichImage(state, stateImages);
        ASSERT_NE(s, -1) << "the state file mixes two saves";
        stateSeen[s] = true;
        const std::string bank = test::readFile(bankPath);
        ASSERT_EQ(bank.size(), bankImages[0].size()) << "the bank was cut short";
        const int b = whichImage(bank, bankImages);
        ASSERT_NE(b, -1) << "the bank mixes two saves";
        bankSeen[b] = true;

        auto stateTemps = test::temporariesOf(dir.path(), hammer::kStateName);
        auto bankTemps = test::temporariesOf(dir.path(), hammer::kBankName);
        // Each save removes what an earlier kill left before it makes its
        // own temporary, so they never pile up: at most one per file.
        ASSERT_LE(stateTemps.size(), 1u) << "temporary files of the state file pile up";
        ASSERT_LE(bankTemps.size(), 1u) << "temporary files of the bank pile up";
        leftovers += static_cast<int>(stateTemps.size() + bankTemps.size());
        ASSERT_EQ(test::folderEntries(dir.path()).size(), 2 + stateTemps.size() + bankTemps.size())
            << "something else was left in the folder";
    }
    std::cout << kills << " kills, " << leftovers << " left a temporary file\n";
    EXPECT_GE(kills, 100);
    // Saves did complete between the kills: both images of each file were seen.
    EXPECT_TRUE(stateSeen[0] && stateSeen[1]);
    EXPECT_TRUE(bankSeen[0] && bankSeen[1]);

    // A run that is not killed cleans up and leaves exactly the two files.
    pid_t pid = startHammer(dir.path(), 1, "1");
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(test::folderEntries(dir.path()), (std::vector<std::string>{hammer::kBankName, hammer::kStateName}));
    EXPECT_TRUE(test::readFile(statePath) == stateImages[1]);
    EXPECT_TRUE(test::readFile(bankPath) == bankImages[1]);
}
