// One trainer or tool at a time in a folder: the lock is held by a real
// other process, given back when that process ends however it ends, and
// tkupgrade waits for it or gives up without touching the bank.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FolderLock.h"
#include "support/OrdinaryUser.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
namespace fs = std::filesystem;
using State = FolderLock::State;

namespace {

// Another process that holds the folder's lock until it is stopped.
class Holder {
public:
    explicit Holder(const std::string& folder) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            FolderLock lock(folder);
            const char ok = lock.tryLock() == State::Held ? 'y' : 'n';
            (void)!::write(ready[1], &ok, 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char ok = 0;
        EXPECT_EQ(::read(ready[0], &ok, 1), 1);
        EXPECT_EQ(ok, 'y');
        ::close(ready[0]);
    }
    ~Holder() { stop(SIGTERM); }
    void stop(int signal) {
        if (pid_ <= 0) return;
        ::kill(pid_, signal);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

std::string q(const std::string& s) { return "'" + s + "'"; }

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(FolderLock, HeldByOneProcessAtATimeAndFreedWhenItDies) {
    TempDir dir;
    for (int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal);
        Holder other(dir.path());
        FolderLock mine(dir.path());
        EXPECT_EQ(mine.tryLock(), State::Busy);
        // The file names its holder.
        EXPECT_EQ(dir.read(FolderLock::kFileName).rfind(std::to_string(other.pid()) + "\nchixuebao\n", 0), 0u);
        other.stop(signal);
        // The file it left holds nothing.
        EXPECT_EQ(mine.tryLock(), State::Held);
        EXPECT_EQ(dir.read(FolderLock::kFileName).rfind(std::to_string(::getpid()) + "\n", 0), 0u);
        mine.release();
        EXPECT_FALSE(fs::exists(dir.file(FolderLock::kFileName)));
    }
}

TEST(FolderLock, ACopiedLockFileHoldsNothingAndAFolderWithoutRoomIsUnavailable) {
    TempDir dir;
    dir.write(FolderLock::kFileName, "4242\nchixuebao\nelsewhere\n");
    FolderLock copied(dir.path());
    EXPECT_EQ(copied.lock(0), State::Held);
    copied.release();

    FolderLock nowhere(dir.file("no/such/folder"));
    EXPECT_EQ(nowhere.tryLock(), State::Unavailable);

    cxb::test::OrdinaryUser user;
    if (!user.available()) return;
    dir.mkdir("readonly");
    ::chmod(dir.file("readonly").c_str(), 0555);
    const std::string folder = dir.file("readonly");
    EXPECT_EQ(user.run([&] { return FolderLock(folder).tryLock() == State::Unavailable ? 0 : 1; }), 0);
}

TEST(FolderLock, TkupgradeGivesUpOrWaitsWhileTheTrainerHoldsTheFolder) {
    TempDir dir;
    dir.mkdir("app");
    dir.mkdir("app/bankdata");
    ASSERT_EQ(BankFile::store(BankGenerator::make(30, 3), dir.file("shipped.tk")), "");
    ASSERT_EQ(BankFile::store(BankGenerator::make(20, 3), dir.file("app/bankdata/小车.tk")), "");
    const std::string before = dir.read("app/bankdata/小车.tk");
    const std::string upgrade = q(TKUPGRADE_PATH) + " --wait 0 " + q(dir.file("shipped.tk")) + " " +
                                q(dir.file("app/bankdata/小车.tk")) + " >" + q(dir.file("out.txt")) + " 2>" +
                                q(dir.file("err.txt"));
    {
        Holder trainer(dir.file("app"));
        EXPECT_EQ(run(upgrade), 3);
        EXPECT_NE(dir.read("err.txt").find("the trainer is running in"), std::string::npos) << dir.read("err.txt");
        EXPECT_EQ(dir.read("app/bankdata/小车.tk"), before);
        EXPECT_FALSE(fs::exists(dir.file("app/bankdata/小车.tk.bak")));
    }
    // Waiting: the trainer closes a moment after the upgrade began.
    {
        Holder trainer(dir.file("app"));
        const pid_t closer = ::fork();
        if (closer == 0) {
            ::usleep(400 * 1000);
            ::kill(trainer.pid(), SIGTERM);
            ::_exit(0);
        }
        std::string waiting = upgrade;
        waiting.replace(waiting.find("--wait 0"), 8, "--wait 20");
        EXPECT_EQ(run(waiting), 0) << dir.read("err.txt");
        ::waitpid(closer, nullptr, 0);
    }
    EXPECT_NE(dir.read("app/bankdata/小车.tk"), before);
    EXPECT_EQ(dir.read("app/bankdata/小车.tk.bak"), before);
    EXPECT_FALSE(fs::exists(dir.file("app/.chixuebao.lock")));
}
