// A save keeps what the file is beside its bytes: its owner, group and mode
// when another user of a shared folder saves it, and its hard links. Where a
// rename cannot keep them the bytes go into the file in place, after a
// verified copy; a save cut short there is finished at the next start, and
// what killed saves left behind is cleared then.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "support/FaultInjection.h"
#include "support/OrdinaryUser.h"
#include "support/TempDir.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;
namespace fs = std::filesystem;

namespace {

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

const std::string kOld(300000, 'o');
const std::string kNew = std::string(250000, 'n') + "end";

} // namespace

TEST(HardLinks, ASaveWritesEveryNameOfTheFile) {
    TempDir dir;
    dir.mkdir("other");
    dir.write("x.tk", kOld);
    ASSERT_EQ(::link(dir.file("x.tk").c_str(), dir.file("other/copy.tk").c_str()), 0);
    ::chmod(dir.file("x.tk").c_str(), 0640);
    const struct stat before = statOf(dir.file("x.tk"));

    ASSERT_EQ(AtomicFile::write(dir.file("x.tk"), kNew), "");
    const struct stat after = statOf(dir.file("x.tk"));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.read("other/copy.tk"), kNew);
    EXPECT_EQ(dir.read("x.tk"), kNew);
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"other", "x.tk"}));
}

TEST(HardLinks, AnInPlaceSaveCutShortIsFinishedAtTheNextStart) {
    TempDir dir;
    dir.write("x.tk", kOld);
    ASSERT_EQ(::link(dir.file("x.tk").c_str(), dir.file("y.tk").c_str()), 0);
    struct Case {
        const char* what;
        int failingPass; // 1: the copy, 2: the file itself
        std::size_t offset;
    };
    const Case cases[] = {
        {"the disk fills while the copy is written", 1, 0},
        {"the disk fills while the file is overwritten", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("x.tk", kOld); // through the link: both names
        int pass = 0;
        AtomicFile::setWriteHook([&](const std::string&, std::size_t offset) {
            if (offset == 0) ++pass;
            return !(pass == c.failingPass && offset == c.offset);
        });
        auto saved = AtomicFile::save(dir.file("x.tk"), kNew);
        AtomicFile::setWriteHook({});
        EXPECT_FALSE(saved.ok());
        if (c.failingPass == 1) {
            // Nothing was touched and nothing is left.
            EXPECT_EQ(dir.read("x.tk"), kOld);
            EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"x.tk", "y.tk"}));
            continue;
        }
        // The verified copy stays for the next start.
        ASSERT_EQ(folderEntries(dir.path()).size(), 3u);
        EXPECT_EQ(AtomicFile::tidy(dir.path()), 1);
        EXPECT_EQ(dir.read("x.tk"), kNew);
        EXPECT_EQ(dir.read("y.tk"), kNew);
        EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"x.tk", "y.tk"}));
    }
}

TEST(Owners, AnotherUsersSaveKeepsTheOwnerGroupAndMode) {
    OrdinaryUser user;
    if (!user.switches()) GTEST_SKIP() << "needs root to give the file to another user";
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all); // a shared folder, no sticky bit
    for (mode_t mode : {0666u, 0646u}) {
        SCOPED_TRACE(mode);
        dir.write("sys.dat", kOld);
        ::chown(dir.file("sys.dat").c_str(), 0, 0);
        ::chmod(dir.file("sys.dat").c_str(), mode);
        const std::string path = dir.file("sys.dat");
        EXPECT_EQ(user.run([&] { return AtomicFile::write(path, kNew).empty() ? 0 : 1; }), 0);
        const struct stat after = statOf(path);
        EXPECT_EQ(after.st_uid, 0u);
        EXPECT_EQ(after.st_gid, 0u);
        EXPECT_EQ(after.st_mode & 07777, mode);
        EXPECT_EQ(dir.read("sys.dat"), kNew);
        EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"sys.dat"});
        // And its owner's saves still work.
        EXPECT_EQ(AtomicFile::write(path, kOld), "");
        EXPECT_EQ(statOf(path).st_uid, 0u);
    }
}

TEST(Owners, AnOwnFileIsStillReplacedInOneStep) {
    TempDir dir;
    dir.write("x.tk", kOld);
    const struct stat before = statOf(dir.file("x.tk"));
    ASSERT_EQ(AtomicFile::write(dir.file("x.tk"), kNew), "");
    EXPECT_NE(statOf(dir.file("x.tk")).st_ino, before.st_ino);
}

class LeftoversAtStart : public TrainerTest {};

TEST_F(LeftoversAtStart, KilledSavesLeaveNothingAfterTheNextStart) {
    writeFiles(plainBank(20));
    const std::string bank = dir.read("bankdata/x.tk");
    struct Leftover {
        const char* name;
        bool removed;
    };
    const Leftover leftovers[] = {
        {"bankdata/x.tk.tmp-a1B2c3", true},
        {"bankdata/sys.dat.tmp-QWERTY", true},
        {"h.htm.tmp-zz9zz9", true},
        {"bankdata/notes.tmp-1", false},      // not a name a save gives
        {"bankdata/x.tk.tmp-abc", false},     // nor this
        {"bankdata/x.tk.tmp-abcdef.keep", false},
    };
    for (const Leftover& l : leftovers) dir.write(l.name, std::string(1500, 't'));
    // An in-place save of the bank killed half-way: the copy is whole.
    std::string torn = bank;
    torn.replace(0, 100, std::string(100, '\xEE'));
    dir.write("bankdata/x.tk", torn);
    dir.write("bankdata/x.tk.through-Zx81Qp", bank);

    trainer = std::make_unique<Trainer>(win, dir.path());
    trainer->construct();
    for (const Leftover& l : leftovers) EXPECT_EQ(fs::exists(path(l.name)), !l.removed) << l.name;
    EXPECT_FALSE(fs::exists(path("bankdata/x.tk.through-Zx81Qp")));
    EXPECT_TRUE(dir.read("bankdata/x.tk") == bank);
    EXPECT_TRUE(s().bankLoaded);
    EXPECT_EQ(s().questionCount(), 20);
}
