// Saves under a failing disk: the state file and the bank, through the data
// layer and through the trainer. Whatever breaks, the old file stays as it
// was, the failure reaches the caller, no temporary file is left and the
// next save works.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/FileMessage.h"
#include "engine/Texts.h"
#include "engine/Trainer.h"
#include "support/FakeWindow.h"
#include "support/FaultInjection.h"
#include "support/OrdinaryUser.h"
#include "support/TempDir.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;
namespace fs = std::filesystem;

namespace {

// The message of a bank that could not be written at the close, with 重试
// and 放弃 under the advice.
std::string closeMessage(FileProblem problem) {
    const std::string advice = std::string(FileMessage::advice(problem)) + "\n" + texts::kRetryBank;
    return FileMessage::compose(texts::kBankNotStored, "bankdata/x.tk", problem, advice.c_str());
}

// A folder's names without the answer journal's files, which stand beside
// the state file whenever the folder can be written.
std::vector<std::string> withoutJournal(std::vector<std::string> names) {
    std::erase_if(names, [](const std::string& n) { return n.rfind("journal.db", 0) == 0; });
    return names;
}

constexpr std::size_t kStateSize = 2472784;

std::string bytesOf(const Sfile& s) { return std::string(reinterpret_cast<const char*>(&s), sizeof s); }

// A full state record whose every byte depends on `seed`.
std::unique_ptr<Sfile> stateImage(unsigned seed) {
    auto s = StateFile::newRecord();
    auto* p = reinterpret_cast<unsigned char*>(s.get());
    for (std::size_t i = 0; i < sizeof(Sfile); ++i) p[i] = static_cast<unsigned char>((i * 131 + seed) % 251 + 1);
    return s;
}

int saveStateCode(const Sfile& s, const std::string& path) {
    std::string detail;
    int code = StateFile::saveState(s, path, &detail);
    EXPECT_TRUE(code == 0 || code == StateFile::kCannotWrite || code == StateFile::kSaveFailed) << code;
    EXPECT_EQ(code == 0, detail.empty()) << detail;
    return code;
}

bool storeBank(const Bank& bank, const std::string& path) { return BankFile::store(bank, path).empty(); }

class FaultTest : public ::testing::Test {
protected:
    void TearDown() override { AtomicFile::setWriteHook({}); }
    TempDir dir;
};

} // namespace

// ---- The data layer, at every offset -------------------------------------

TEST_F(FaultTest, StateFileSaveFailsCleanlyWhereverTheDiskFills) {
    auto old = stateImage(1);
    auto fresh = stateImage(2);
    const std::string path = dir.file("sys.dat");
    expectSavesFailCleanly(path, bytesOf(*old), bytesOf(*fresh),
                           [&] { return saveStateCode(*fresh, path) == 0; });
}

TEST_F(FaultTest, BankStoreFailsCleanlyWhereverTheDiskFills) {
    // A bank as large as the shipped ones, so it takes two chunks.
    Bank old = BankGenerator::make(725, 1);
    Bank fresh = BankGenerator::make(725, 2);
    ASSERT_GT(BankFile::fileSize(725), std::size_t{1} << 20);
    const std::string path = dir.file("car.tk");
    expectSavesFailCleanly(path, BankFile::serialize(old), BankFile::serialize(fresh),
                           [&] { return storeBank(fresh, path); });
}

// ---- A real full disk ----------------------------------------------------

class SmallDiskTest : public FaultTest {
protected:
    void SetUp() override {
        disk = std::make_unique<SmallDisk>(dir.file("disk"), 8u << 20);
        if (!disk->mounted()) GTEST_SKIP() << disk->why();
    }
    void TearDown() override {
        disk.reset();
        FaultTest::TearDown();
    }
    std::string onDisk(const std::string& name) const { return dir.file("disk/" + name); }
    std::unique_ptr<SmallDisk> disk;
};

// With the old file on the disk, the new image gets only so much room: none,
// one block, half of what it needs, all but its last block. Exactly enough
// room must do.
template <typename Save>
void fillAndSave(SmallDisk& disk, const std::string& target, const std::string& old, const std::string& fresh,
                 Save save) {
    const std::size_t block = disk.blockSize();
    const std::size_t need = (fresh.size() + block - 1) / block * block;
    const std::string folder = fs::path(target).parent_path().string();
    const std::string name = fs::path(target).filename().string();
    for (std::size_t room : {std::size_t{0}, block, need / 2, need - block}) {
        SCOPED_TRACE("room for " + std::to_string(room) + " of " + std::to_string(fresh.size()) + " bytes");
        ASSERT_EQ(disk.leaveFree(room), room / block * block);
        EXPECT_FALSE(save());
        EXPECT_TRUE(readFile(target) == old) << "the old file changed";
        EXPECT_TRUE(temporariesOf(folder, name).empty());
        // The half-written temporary gave its blocks back.
        EXPECT_EQ(disk.freeBytes(), room / block * block);
    }
    ASSERT_EQ(disk.leaveFree(need), need);
    EXPECT_TRUE(save()) << "exactly enough room must do";
    EXPECT_TRUE(readFile(target) == fresh);
    EXPECT_TRUE(temporariesOf(folder, name).empty());
    disk.dropFiller();
}

TEST_F(SmallDiskTest, StateFileOnAFullDisk) {
    auto old = stateImage(3);
    auto fresh = stateImage(4);
    const std::string path = onDisk("sys.dat");
    ASSERT_EQ(saveStateCode(*old, path), 0);
    fillAndSave(*disk, path, bytesOf(*old), bytesOf(*fresh), [&] { return saveStateCode(*fresh, path) == 0; });
}

TEST_F(SmallDiskTest, BankOnAFullDisk) {
    Bank old = BankGenerator::make(725, 3);
    Bank fresh = BankGenerator::make(725, 4);
    const std::string path = onDisk("car.tk");
    ASSERT_TRUE(storeBank(old, path));
    fillAndSave(*disk, path, BankFile::serialize(old), BankFile::serialize(fresh), [&] { return storeBank(fresh, path); });
}

// The trainer in a program folder on the small disk: with the disk full,
// saving the state and closing show their messages and the program goes
// on; once there is room, both work.
TEST_F(SmallDiskTest, TrainerOnAFullDisk) {
    const std::string folder = onDisk("app");
    fs::create_directories(folder + "/bankdata");
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    writeField(state->bankPath, "bankdata\\x.tk");
    state->examCount = 100;
    ASSERT_EQ(saveStateCode(*state, folder + "/bankdata/sys.dat"), 0);
    ASSERT_TRUE(storeBank(plainBank(300), folder + "/bankdata/x.tk"));
    const std::string oldState = readFile(folder + "/bankdata/sys.dat");
    const std::string oldBank = readFile(folder + "/bankdata/x.tk");

    RigWindow win;
    Trainer t(win, folder);
    t.construct();
    t.formCreate();
    ASSERT_TRUE(win.messages.empty());
    ASSERT_EQ(t.s.questionCount(), 300);

    disk->leaveFree(0);
    t.s.state->examCount = 50;
    EXPECT_FALSE(t.saveState());
    t.view.showQuestion(1);
    t.judge.answerQuestion(kAnswerA);
    t.closeQuery();
    // The state file was opened and the disk filled while writing: code 3.
    EXPECT_EQ(win.messages,
              (std::vector<std::string>{FileMessage::compose(texts::kCode3, "bankdata/sys.dat", FileProblem::DiskFull),
                                        closeMessage(FileProblem::DiskFull)}));
    EXPECT_TRUE(readFile(folder + "/bankdata/sys.dat") == oldState);
    EXPECT_TRUE(readFile(folder + "/bankdata/x.tk") == oldBank);
    EXPECT_EQ(withoutJournal(folderEntries(folder + "/bankdata")), (std::vector<std::string>{"sys.dat", "x.tk"}));

    disk->dropFiller();
    win.messages.clear();
    EXPECT_TRUE(t.saveState());
    t.closeQuery();
    EXPECT_TRUE(win.messages.empty());
    EXPECT_TRUE(readFile(folder + "/bankdata/sys.dat") == bytesOf(*t.s.state));
    EXPECT_TRUE(readFile(folder + "/bankdata/x.tk") == BankFile::serialize(*t.s.bank));
}

// ---- Temporary files left by a save that was killed ----------------------

TEST_F(FaultTest, ASaveRemovesOnlyTheStaleTemporariesOfItsOwnTarget) {
    struct Entry {
        const char* name;
        enum Kind { File, Folder, Link } kind;
        bool removed;
    };
    const Entry entries[] = {
        {"sys.dat.tmp-a1B2c3", Entry::File, true},     // left by a killed save
        {"sys.dat.tmp-ZZZZZZ", Entry::File, true},
        {"sys.dat.tmp-abc", Entry::File, false},       // not a name a save makes
        {"sys.dat.tmp-abcdefg", Entry::File, false},
        {"sys.dat.tmp-ab.def", Entry::File, false},
        {"sys.dat.tmp-", Entry::File, false},
        {"sys.dat.bak", Entry::File, false},
        {"x.tk.tmp-a1b2c3", Entry::File, false},       // another target's
        {"ys.dat.tmp-a1b2c3", Entry::File, false},
        {"sys.dat.tmp-fold3r", Entry::Folder, false},  // not a file
        {"sys.dat.tmp-l1nked", Entry::Link, false},
    };
    dir.write("sys.dat", "old");
    dir.write("keep.txt", "x");
    for (const auto& e : entries) {
        if (e.kind == Entry::File) dir.write(e.name, "half a save");
        if (e.kind == Entry::Folder) dir.write(std::string(e.name) + "/inside", "x");
        if (e.kind == Entry::Link) fs::create_symlink("keep.txt", dir.file(e.name));
    }
    auto s = stateImage(5);
    ASSERT_EQ(saveStateCode(*s, dir.file("sys.dat")), 0);
    for (const auto& e : entries) EXPECT_EQ(fs::exists(fs::symlink_status(dir.file(e.name))), !e.removed) << e.name;
    EXPECT_EQ(dir.read("keep.txt"), "x");
    EXPECT_EQ(dir.read("sys.dat.tmp-fold3r/inside"), "x");
    EXPECT_TRUE(dir.read("sys.dat") == bytesOf(*s));
}

TEST_F(FaultTest, AFailedSaveStillRemovesStaleTemporaries) {
    dir.write("sys.dat", "old");
    dir.write("sys.dat.tmp-st4le1", "half a save");
    AtomicFile::setWriteHook([](const std::string&, std::size_t) { return false; });
    auto s = stateImage(6);
    EXPECT_EQ(saveStateCode(*s, dir.file("sys.dat")), StateFile::kSaveFailed);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"sys.dat"});
    EXPECT_EQ(dir.read("sys.dat"), "old");
}

TEST_F(FaultTest, ATemporaryLockedByASaveInProgressIsKept) {
    // Another copy of the program is writing this temporary right now: it
    // holds the lock on it.
    dir.write("x.tk.tmp-l1v3ly", "being written");
    int fd = ::open(dir.file("x.tk.tmp-l1v3ly").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    Bank bank = BankGenerator::make(3, 1);
    EXPECT_TRUE(storeBank(bank, dir.file("x.tk")));
    EXPECT_EQ(dir.read("x.tk.tmp-l1v3ly"), "being written");
    ::close(fd); // that save died: now the next one may remove it
    EXPECT_TRUE(storeBank(bank, dir.file("x.tk")));
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"x.tk"});
}

TEST_F(FaultTest, TwoWritersOfTheSameFileNeverBreakEachOthersSave) {
    // Each writer's clean-up runs while the other is between creating and
    // renaming its temporary; neither may lose it.
    const std::string path = dir.file("sys.dat");
    const std::string images[2] = {std::string(300000, 'a'), std::string(300000, 'b')};
    std::atomic<int> failures {0};
    auto writer = [&](int which) {
        for (int i = 0; i < 60; ++i)
            if (!AtomicFile::write(path, images[which]).empty()) ++failures;
    };
    std::thread a(writer, 0), b(writer, 1);
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0);
    std::string now = dir.read("sys.dat");
    EXPECT_TRUE(now == images[0] || now == images[1]);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"sys.dat"});
}

// ---- Through the trainer -------------------------------------------------

class TrainerFaultTest : public TrainerTest {
protected:
    void TearDown() override { AtomicFile::setWriteHook({}); }
    std::string statePath() const { return path("bankdata/sys.dat"); }
    std::string bankPath() const { return path("bankdata/x.tk"); }
    // The program still works: a fresh beginner list, one answer counted.
    void expectTheProgramGoesOn() {
        t().modes.chujiClick();
        ASSERT_GE(s().listCount, 1);
        const int answered = recordOf(entry(1).id).answerCount;
        answerAt(1, kAnswerA);
        EXPECT_EQ(recordOf(entry(1).id).answerCount, answered + 1);
    }
};

TEST_F(TrainerFaultTest, FailedStateSaveShowsItsCodeAndKeepsTheRecord) {
    start(plainBank(40));
    for (const auto& fault : saveFaults(kStateSize)) {
        SCOPED_TRACE(fault.name);
        const std::string old = readFile(statePath());
        s().state->examCount += 1; // a change waiting to be saved
        const std::int32_t changed = s().state->examCount;
        win.forget();
        {
            auto guard = fault.arm(statePath());
            EXPECT_FALSE(t().saveState());
        }
        const std::string first = fault.stateCode == 3 ? "错误代码:3,或者请以管理员身份运行；"
                                                       : "错误代码:2,或者请以管理员身份运行；";
        EXPECT_EQ(win.messages, std::vector<std::string>{FileMessage::compose(first, "bankdata/sys.dat", fault.problem)});
        EXPECT_TRUE(readFile(statePath()) == old) << "the old state file changed";
        EXPECT_EQ(withoutJournal(folderEntries(path("bankdata"))), (std::vector<std::string>{"sys.dat", "x.tk"}));
        EXPECT_EQ(s().state->examCount, changed); // the record in memory stays in use
        expectTheProgramGoesOn();

        win.forget();
        EXPECT_TRUE(t().saveState());
        EXPECT_TRUE(win.messages.empty());
        EXPECT_TRUE(readFile(statePath()) == bytesOf(*s().state));
    }
}

TEST_F(TrainerFaultTest, StateFileReplacedByAFolder) {
    start(plainBank(40));
    fs::remove(statePath());
    dir.write("bankdata/sys.dat/keep.txt", "precious");
    win.forget();
    EXPECT_FALSE(t().saveState());
    EXPECT_EQ(win.messages,
              std::vector<std::string>{FileMessage::compose(texts::kCode2, "bankdata/sys.dat", FileProblem::IsFolder)});
    EXPECT_EQ(dir.read("bankdata/sys.dat/keep.txt"), "precious");
    EXPECT_EQ(withoutJournal(folderEntries(path("bankdata"))), (std::vector<std::string>{"sys.dat", "x.tk"}));
    expectTheProgramGoesOn();

    fs::remove_all(statePath());
    EXPECT_TRUE(t().saveState());
    EXPECT_TRUE(readFile(statePath()) == bytesOf(*s().state));
}

TEST_F(TrainerFaultTest, FailedCloseShowsItsMessageAndKeepsTheOldBank) {
    start(plainBank(725));
    for (const auto& fault : saveFaults(BankFile::fileSize(725))) {
        SCOPED_TRACE(fault.name);
        const std::string old = readFile(bankPath());
        answerAt(1, kAnswerA); // counters to write back
        win.forget();
        {
            auto guard = fault.arm(bankPath());
            t().closeQuery();
        }
        EXPECT_EQ(win.messages,
                  std::vector<std::string>{closeMessage(fault.problem)});
        EXPECT_TRUE(readFile(bankPath()) == old) << "the old bank changed";
        EXPECT_EQ(withoutJournal(folderEntries(path("bankdata"))), (std::vector<std::string>{"sys.dat", "x.tk"}));

        win.forget();
        t().closeQuery();
        EXPECT_TRUE(win.messages.empty());
        EXPECT_TRUE(readFile(bankPath()) == BankFile::serialize(*s().bank));
    }
}

TEST_F(TrainerFaultTest, CloseWithTheBankReplacedByAFolder) {
    start(plainBank(40));
    answerAt(1, kAnswerA);
    fs::remove(bankPath());
    dir.write("bankdata/x.tk/keep.txt", "precious");
    win.forget();
    t().closeQuery();
    EXPECT_EQ(win.messages, std::vector<std::string>{closeMessage(FileProblem::IsFolder)});
    EXPECT_EQ(test::firstLines(win.messages), std::vector<std::string>{"错误,或者请以管理员身份运行；"});
    EXPECT_EQ(dir.read("bankdata/x.tk/keep.txt"), "precious");
    EXPECT_EQ(withoutJournal(folderEntries(path("bankdata"))), (std::vector<std::string>{"sys.dat", "x.tk"}));
    // Closing again (the window may be asked twice) is just as harmless.
    t().closeQuery();
    EXPECT_EQ(win.messages.size(), 2u);
}

TEST_F(TrainerFaultTest, ReadOnlyProgramFolder) {
    // Root writes into read-only folders: the saves run as an ordinary user.
    OrdinaryUser user;
    if (!user.available()) GTEST_SKIP() << "no ordinary user to run as";
    start(plainBank(40));
    const std::string oldState = readFile(statePath());
    const std::string oldBank = readFile(bankPath());
    answerAt(1, kAnswerA);
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    for (const std::string& p : {path("bankdata"), statePath(), bankPath()}) user.own(p);
    fs::permissions(path("bankdata"), fs::perms::owner_read | fs::perms::owner_exec);
    win.forget();
    const std::vector<std::string> expected = {
        FileMessage::compose(texts::kCode2, "bankdata/sys.dat", FileProblem::NoPermission),
        closeMessage(FileProblem::NoPermission)};
    const int told = user.run([&] {
        const bool saved = t().saveState();
        t().closeQuery();
        return !saved && win.messages == expected ? 0 : 1;
    });
    fs::permissions(path("bankdata"), fs::perms::owner_all);
    EXPECT_EQ(told, 0) << "the saves did not fail with their messages";
    EXPECT_TRUE(readFile(statePath()) == oldState);
    EXPECT_TRUE(readFile(bankPath()) == oldBank);
    EXPECT_EQ(withoutJournal(folderEntries(path("bankdata"))), (std::vector<std::string>{"sys.dat", "x.tk"}));
}
