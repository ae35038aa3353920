// The real program started several times in one folder and in two folders,
// on the offscreen platform.
#include <QLockFile>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "ui/SingleInstance.h"

using namespace cxb;
namespace fs = std::filesystem;

namespace {

constexpr int kStartMs = 30000; // bound for a start on a busy machine

// A copy of the runnable folder whose state file names the car bank, so a
// start goes straight to its window.
struct AppFolder {
    test::TempDir dir;
    AppFolder() {
        fs::copy(CXB_APP_DIR, dir.path(), fs::copy_options::recursive);
        fs::remove(SingleInstance::lockFilePath(path()).toStdString());
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString path() const { return QString::fromStdString(dir.path()); }
    QString lockFile() const { return SingleInstance::lockFilePath(path()); }
};

// One start of the program, reporting the activations it receives; killed
// at the end if it still runs.
class Start {
public:
    Start(const AppFolder& folder, const test::TempDir& sockets) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("CXB_REPORT_ACTIVATION", "1");
        env.insert("TMPDIR", QString::fromStdString(sockets.path()));
        env.remove("CXB_EXIT_AFTER_FIRST_QUESTION");
        process_.setProcessEnvironment(env);
        process_.setProgram(folder.path() + "/chixuebao");
        process_.start();
        EXPECT_TRUE(process_.waitForStarted(kStartMs));
    }
    ~Start() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(kStartMs);
        }
    }
    bool running() const { return process_.state() == QProcess::Running; }
    qint64 pid() const { return process_.processId(); }

    // Waits until this start holds the folder's lock.
    bool holdsLock(const AppFolder& folder) {
        return QTest::qWaitFor(
            [&] {
                qint64 owner = 0;
                return !running() || (QLockFile(folder.lockFile()).getLockInfo(&owner, nullptr, nullptr) && owner == pid());
            },
            kStartMs) &&
               running();
    }
    // Waits until the program has ended by itself; its exit code, or -1.
    int ended() {
        if (!process_.waitForFinished(kStartMs) || process_.exitStatus() != QProcess::NormalExit) return -1;
        return process_.exitCode();
    }
    int activations() {
        output_ += process_.readAllStandardOutput();
        return static_cast<int>(output_.count("activated\n"));
    }
    bool activated(int count = 1) {
        return QTest::qWaitFor([&] { return activations() >= count; }, kStartMs);
    }
    void kill() {
        process_.kill();
        process_.waitForFinished(kStartMs);
    }

private:
    QProcess process_;
    QByteArray output_;
};

} // namespace

TEST(SingleInstance, ASecondStartInTheSameFolderBringsTheFirstForwardAndEnds) {
    AppFolder folder;
    test::TempDir sockets;
    Start first(folder, sockets);
    ASSERT_TRUE(first.holdsLock(folder));

    Start second(folder, sockets);
    EXPECT_EQ(second.ended(), 0);
    EXPECT_TRUE(first.activated());
    EXPECT_TRUE(first.running());

    // And again: every later start hands over.
    Start third(folder, sockets);
    EXPECT_EQ(third.ended(), 0);
    EXPECT_TRUE(first.activated(2));
    EXPECT_TRUE(first.running());
}

TEST(SingleInstance, AKilledTrainerLeavesNoLockThatBlocksTheNextStart) {
    AppFolder folder;
    test::TempDir sockets;
    auto killed = std::make_unique<Start>(folder, sockets);
    ASSERT_TRUE(killed->holdsLock(folder));
    {
        Start reaching(folder, sockets);
        EXPECT_EQ(reaching.ended(), 0);
    }
    ASSERT_TRUE(killed->activated()); // it listens
    killed->kill();
    // Its lock file and its socket stay behind, as after a crash.
    ASSERT_TRUE(fs::exists(folder.lockFile().toStdString()));
    ASSERT_TRUE(fs::exists(sockets.file(SingleInstance::serverName(folder.path()).toStdString())));

    Start next(folder, sockets);
    ASSERT_TRUE(next.holdsLock(folder));
    Start later(folder, sockets);
    EXPECT_EQ(later.ended(), 0);
    EXPECT_TRUE(next.activated());
}

TEST(SingleInstance, TrainersInDifferentFoldersRunSideBySide) {
    AppFolder one, two;
    test::TempDir sockets;
    Start inOne(one, sockets);
    Start inTwo(two, sockets);
    ASSERT_TRUE(inOne.holdsLock(one));
    ASSERT_TRUE(inTwo.holdsLock(two));

    Start againInTwo(two, sockets);
    EXPECT_EQ(againInTwo.ended(), 0);
    EXPECT_TRUE(inTwo.activated());
    EXPECT_EQ(inOne.activations(), 0);
    EXPECT_TRUE(inOne.running());
    EXPECT_TRUE(inTwo.running());
}
