// Saves never replace a write-protected file, and write through symbolic
// links: the bank and the state file with real files in temporary folders,
// as root and as an ordinary user.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/StateFile.h"
#include "support/FaultInjection.h"
#include "support/OrdinaryUser.h"
#include "support/TempDir.h"

using namespace cxb;
using namespace cxb::test;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(const Sfile& s) { return std::string(reinterpret_cast<const char*>(&s), sizeof s); }

std::unique_ptr<Sfile> stateImage(unsigned seed) {
    auto s = StateFile::newRecord();
    auto* p = reinterpret_cast<unsigned char*>(s.get());
    for (std::size_t i = 0; i < sizeof(Sfile); ++i) p[i] = static_cast<unsigned char>((i * 37 + seed) % 253 + 1);
    return s;
}

fs::perms modeOf(const std::string& path) { return fs::status(path).permissions() & fs::perms::mask; }

constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

// One kind of file the program saves: its old and new images and how it is
// saved. save() returns 0 on success, else the code the program reports
// (the state file's code; 1 for any failure of the other files).
struct Saved {
    const char* name;
    std::string old;
    std::string fresh;
    std::function<int(const std::string& path)> save;
};

std::vector<Saved> savedFiles() {
    static const auto oldState = stateImage(1);
    static const auto freshState = stateImage(2);
    static const Bank oldBank = BankGenerator::make(30, 1);
    static const Bank freshBank = BankGenerator::make(30, 2);
    return {
        {"sys.dat", bytesOf(*oldState), bytesOf(*freshState),
         [](const std::string& path) { return StateFile::saveState(*freshState, path); }},
        {"car.tk", BankFile::serialize(oldBank), BankFile::serialize(freshBank),
         [](const std::string& path) { return BankFile::store(freshBank, path).empty() ? 0 : 1; }},
        {"h.htm", "<html>old page</html>", "<html>new page</html>",
         [](const std::string& path) { return AtomicFile::write(path, "<html>new page</html>").empty() ? 0 : 1; }},
    };
}

int refusedCode(const Saved& f) { return std::string(f.name) == "sys.dat" ? StateFile::kCannotWrite : 1; }

} // namespace

TEST(ProtectedFile, NeverReplacedWhoeverSaves) {
    // The owner's write bit alone decides: root, who may write anything, is
    // refused as well.
    const fs::perms modes[] = {
        kReadOnly,
        fs::perms::owner_read,
        fs::perms::none,
        fs::perms::owner_read | fs::perms::group_all | fs::perms::others_all,
        kReadOnly | fs::perms::owner_exec,
    };
    for (const auto& f : savedFiles()) {
        for (fs::perms mode : modes) {
            SCOPED_TRACE(std::string(f.name) + " mode " + std::to_string(static_cast<int>(mode)));
            TempDir dir;
            dir.write(f.name, f.old);
            fs::permissions(dir.file(f.name), mode);
            EXPECT_EQ(f.save(dir.file(f.name)), refusedCode(f));
            EXPECT_EQ(modeOf(dir.file(f.name)), mode);
            fs::permissions(dir.file(f.name), fs::perms::owner_read, fs::perm_options::add);
            EXPECT_TRUE(dir.read(f.name) == f.old) << "the protected file changed";
            EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{f.name});
        }
    }
}

TEST(ProtectedFile, TheReasonSaysSo) {
    TempDir dir;
    dir.write("car.tk", "old");
    fs::permissions(dir.file("car.tk"), kReadOnly);
    const std::string why = BankFile::store(BankGenerator::make(2), dir.file("car.tk"));
    EXPECT_NE(why.find("car.tk"), std::string::npos) << why;
    EXPECT_NE(why.find("write-protected"), std::string::npos) << why;
}

TEST(ProtectedFile, AsAnOrdinaryUser) {
    OrdinaryUser user;
    if (!user.available()) GTEST_SKIP() << "no ordinary user to run as";
    struct Case {
        const char* name;
        bool userOwnsIt;
        fs::perms mode;
        bool saved;
    };
    const Case cases[] = {
        {"own file, read-only", true, kReadOnly, false},
        {"own file, no rights at all", true, fs::perms::none, false},
        {"own file, writable", true, fs::perms::owner_read | fs::perms::owner_write, true},
        // Another user's file in a folder this user may write: not replaced
        // behind its owner's back.
        {"another user's file", false, fs::perms::owner_read | fs::perms::owner_write | kReadOnly, false},
        {"another user's read-only file", false, kReadOnly, false},
    };
    for (const auto& f : savedFiles()) {
        for (const auto& c : cases) {
            if (!c.userOwnsIt && !user.switches()) continue; // needs root to make such a file
            SCOPED_TRACE(std::string(f.name) + ": " + c.name);
            TempDir dir;
            fs::permissions(dir.path(), fs::perms::all); // the user may create and rename here
            dir.write(f.name, f.old);
            if (c.userOwnsIt) user.own(dir.file(f.name));
            fs::permissions(dir.file(f.name), c.mode);
            const std::string path = dir.file(f.name);
            const int code = user.run([&] { return f.save(path); });
            fs::permissions(path, fs::perms::owner_read, fs::perm_options::add);
            if (c.saved) {
                EXPECT_EQ(code, 0);
                EXPECT_TRUE(dir.read(f.name) == f.fresh);
            } else {
                EXPECT_EQ(code, refusedCode(f));
                EXPECT_TRUE(dir.read(f.name) == f.old) << "the protected file changed";
            }
            EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{f.name});
        }
    }
}

// ---- Symbolic links --------------------------------------------------------

TEST(SavedThroughALink, TheLinkStaysAndItsTargetGetsTheBytes) {
    struct Case {
        const char* name;
        std::function<void(const TempDir& here, const TempDir& there, const std::string& file)> link;
    };
    const Case cases[] = {
        {"absolute link to another folder",
         [](const TempDir& here, const TempDir& there, const std::string& file) {
             fs::create_symlink(there.file("real"), here.file(file));
         }},
        {"relative link to another folder",
         [](const TempDir& here, const TempDir& there, const std::string& file) {
             fs::create_symlink(fs::relative(there.file("real"), here.path()), here.file(file));
         }},
        {"link to a link",
         [](const TempDir& here, const TempDir& there, const std::string& file) {
             fs::create_symlink("real", there.file("middle"));
             fs::create_symlink(there.file("middle"), here.file(file));
         }},
    };
    for (const auto& f : savedFiles()) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(f.name) + ": " + c.name);
            TempDir here, there;
            there.write("real", f.old);
            fs::permissions(there.file("real"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
            c.link(here, there, f.name);
            const fs::path before = fs::read_symlink(here.file(f.name));
            const auto thereBefore = folderEntries(there.path());

            ASSERT_EQ(f.save(here.file(f.name)), 0);
            EXPECT_TRUE(fs::is_symlink(here.file(f.name))) << "the link became a plain file";
            EXPECT_EQ(fs::read_symlink(here.file(f.name)), before);
            EXPECT_TRUE(there.read("real") == f.fresh);
            EXPECT_EQ(modeOf(there.file("real")), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
            EXPECT_EQ(folderEntries(here.path()), std::vector<std::string>{f.name});
            EXPECT_EQ(folderEntries(there.path()), thereBefore);
        }
    }
}

TEST(SavedThroughALink, ALinkToAProtectedFileChangesNothing) {
    for (const auto& f : savedFiles()) {
        SCOPED_TRACE(f.name);
        TempDir here, there;
        there.write("real", f.old);
        fs::permissions(there.file("real"), kReadOnly);
        fs::create_symlink(there.file("real"), here.file(f.name));
        EXPECT_EQ(f.save(here.file(f.name)), refusedCode(f));
        EXPECT_TRUE(fs::is_symlink(here.file(f.name)));
        EXPECT_TRUE(there.read("real") == f.old);
        EXPECT_EQ(folderEntries(there.path()), std::vector<std::string>{"real"});
    }
}

TEST(SavedThroughALink, ALinkToNothingGetsItsTargetCreated) {
    for (const auto& f : savedFiles()) {
        SCOPED_TRACE(f.name);
        TempDir here, there;
        fs::create_symlink(there.file("new"), here.file(f.name));
        ASSERT_EQ(f.save(here.file(f.name)), 0);
        EXPECT_TRUE(fs::is_symlink(here.file(f.name)));
        EXPECT_TRUE(there.read("new") == f.fresh);
        EXPECT_EQ(modeOf(there.file("new")),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
        EXPECT_EQ(folderEntries(there.path()), std::vector<std::string>{"new"});
    }
}

TEST(SavedThroughALink, LinksThatLeadNowhereAreRefused) {
    struct Case {
        const char* name;
        std::function<void(const TempDir&, const std::string& file)> link;
    };
    const Case cases[] = {
        {"link into a missing folder",
         [](const TempDir& d, const std::string& file) { fs::create_symlink(d.file("gone/real"), d.file(file)); }},
        {"link to itself", [](const TempDir& d, const std::string& file) { fs::create_symlink(file, d.file(file)); }},
        {"two links to each other",
         [](const TempDir& d, const std::string& file) {
             fs::create_symlink("other", d.file(file));
             fs::create_symlink(file, d.file("other"));
         }},
    };
    for (const auto& f : savedFiles()) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(f.name) + ": " + c.name);
            TempDir d;
            c.link(d, f.name);
            const auto before = folderEntries(d.path());
            const fs::path target = fs::read_symlink(d.file(f.name));
            EXPECT_EQ(f.save(d.file(f.name)), refusedCode(f));
            EXPECT_TRUE(fs::is_symlink(d.file(f.name)));
            EXPECT_EQ(fs::read_symlink(d.file(f.name)), target);
            EXPECT_EQ(folderEntries(d.path()), before);
        }
    }
}

TEST(SavedThroughALink, AFailedWriteLeavesTheTargetWhole) {
    // The disk fills while the new image is written beside the target: the
    // state save reports code 3 and the target keeps its old bytes.
    TempDir here, there;
    const auto old = stateImage(3);
    const auto fresh = stateImage(4);
    there.write("real", bytesOf(*old));
    fs::create_symlink(there.file("real"), here.file("sys.dat"));
    {
        FileSizeLimit full(sizeof(Sfile) / 2);
        EXPECT_EQ(StateFile::saveState(*fresh, here.file("sys.dat")), StateFile::kSaveFailed);
    }
    EXPECT_TRUE(there.read("real") == bytesOf(*old));
    EXPECT_TRUE(fs::is_symlink(here.file("sys.dat")));
    EXPECT_EQ(folderEntries(there.path()), std::vector<std::string>{"real"});
}

TEST(ProtectedFile, ASaveByRootKeepsTheOwner) {
    // Otherwise the learner's next save would find a file of root's that it
    // may not replace.
    OrdinaryUser user;
    if (!user.switches()) GTEST_SKIP() << "only root can save another user's file";
    for (const auto& f : savedFiles()) {
        SCOPED_TRACE(f.name);
        TempDir dir;
        fs::permissions(dir.path(), fs::perms::all);
        dir.write(f.name, f.old);
        user.own(dir.file(f.name));
        struct stat before {};
        ASSERT_EQ(::stat(dir.file(f.name).c_str(), &before), 0);
        ASSERT_EQ(f.save(dir.file(f.name)), 0);
        struct stat after {};
        ASSERT_EQ(::stat(dir.file(f.name).c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        // And the learner can save it again.
        const std::string path = dir.file(f.name);
        EXPECT_EQ(user.run([&] { return f.save(path); }), 0);
    }
}
